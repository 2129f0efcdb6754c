#include "assets/donate_image.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <jpeglib.h>
#include <vector>

namespace {

struct JpegFacts {
    JDIMENSION width = 0;
    JDIMENSION height = 0;
    int components = 0;
    bool every_component_1x1 = false;
    bool progressive = true;
    J_COLOR_SPACE colour_space = JCS_UNKNOWN;
    bool jfif = false;
    int jfif_major = 0;
    int jfif_minor = 0;
    unsigned x_density = 0;
    unsigned y_density = 0;
    bool adobe = false;
    bool ducky = false;
    long warnings = 0;
};

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JumpOut(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

// Decodes every row, so a damaged or cut stream fails here as it would on the button.
// libjpeg's default handler exits the process; this one reports through errors.message.
// Only trivially destructible locals live here, because of the longjmp.
bool DecodeJpeg(const unsigned char* data, std::size_t size, JpegFacts* facts, JpegErrors* errors) {
    jpeg_decompress_struct cinfo;
    cinfo.err = jpeg_std_error(&errors->manager);
    errors->manager.error_exit = JumpOut;
    if (setjmp(errors->jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    jpeg_save_markers(&cinfo, JPEG_APP0 + 12, 0xFFFF);
    jpeg_read_header(&cinfo, TRUE);

    facts->width = cinfo.image_width;
    facts->height = cinfo.image_height;
    facts->components = cinfo.num_components;
    facts->every_component_1x1 = true;
    for (int c = 0; c < cinfo.num_components; ++c) {
        facts->every_component_1x1 = facts->every_component_1x1 &&
                                     cinfo.comp_info[c].h_samp_factor == 1 &&
                                     cinfo.comp_info[c].v_samp_factor == 1;
    }
    facts->progressive = cinfo.progressive_mode;
    facts->colour_space = cinfo.jpeg_color_space;
    facts->jfif = cinfo.saw_JFIF_marker;
    facts->jfif_major = cinfo.JFIF_major_version;
    facts->jfif_minor = cinfo.JFIF_minor_version;
    facts->x_density = cinfo.X_density;
    facts->y_density = cinfo.Y_density;
    facts->adobe = cinfo.saw_Adobe_marker;
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m != nullptr; m = m->next) {
        facts->ducky = facts->ducky || (m->marker == JPEG_APP0 + 12 && m->data_length >= 5 &&
                                        std::memcmp(m->data, "Ducky", 5) == 0);
    }

    jpeg_start_decompress(&cinfo);
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                cinfo.output_width * cinfo.output_components, 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        jpeg_read_scanlines(&cinfo, row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    facts->warnings = errors->manager.num_warnings;
    jpeg_destroy_decompress(&cinfo);
    return true;
}

TEST(AssetsTest, DonatePictureIsTheBaselineJpegTheButtonExpects) {
    JpegFacts facts;
    JpegErrors errors{};
    ASSERT_TRUE(DecodeJpeg(assets::kDonateImageJpeg, assets::kDonateImageJpegSize, &facts, &errors))
        << errors.message;
    EXPECT_EQ(facts.warnings, 0) << "libjpeg warned while decoding";

    EXPECT_EQ(facts.width, 178u);
    EXPECT_EQ(facts.height, 178u);
    EXPECT_EQ(facts.components, 3);
    EXPECT_TRUE(facts.every_component_1x1) << "chroma must not be subsampled";
    EXPECT_FALSE(facts.progressive);
    EXPECT_EQ(facts.colour_space, JCS_YCbCr);
    EXPECT_TRUE(facts.jfif);
    EXPECT_EQ(facts.jfif_major, 1);
    EXPECT_EQ(facts.jfif_minor, 2);
    EXPECT_EQ(facts.x_density, facts.y_density);
    EXPECT_TRUE(facts.adobe);
    EXPECT_TRUE(facts.ducky) << "no APP12 segment starting with Ducky";
}

std::uint32_t LittleEndian(const std::vector<unsigned char>& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | bytes.at(at + i);
    }
    return value;
}

TEST(AssetsTest, IconHoldsOne48PixelImageOf256Colours) {
    std::ifstream file(SKIMDEX_ASSETS_DIR "skimdex.ico", std::ios::binary);
    ASSERT_TRUE(file) << "cannot open " SKIMDEX_ASSETS_DIR "skimdex.ico";
    const std::vector<unsigned char> ico{std::istreambuf_iterator<char>(file),
                                         std::istreambuf_iterator<char>()};
    ASSERT_GE(ico.size(), 6u + 16u);

    EXPECT_EQ(LittleEndian(ico, 0, 2), 0u) << "reserved";
    EXPECT_EQ(LittleEndian(ico, 2, 2), 1u) << "type: icon";
    EXPECT_EQ(LittleEndian(ico, 4, 2), 1u) << "image count";
    EXPECT_EQ(ico[6], 48) << "width";
    EXPECT_EQ(ico[7], 48) << "height";
    EXPECT_EQ(ico[8], 0) << "colour count: 0 stands for 256";
    EXPECT_EQ(LittleEndian(ico, 12, 2), 8u) << "bits per pixel";

    const std::uint32_t size = LittleEndian(ico, 14, 4);
    const std::uint32_t offset = LittleEndian(ico, 18, 4);
    ASSERT_LE(std::uint64_t{offset} + size, ico.size());
    ASSERT_GE(size, 40u);
    EXPECT_EQ(LittleEndian(ico, offset, 4), 40u) << "BITMAPINFOHEADER size";
    EXPECT_EQ(LittleEndian(ico, offset + 4, 4), 48u);
    EXPECT_EQ(LittleEndian(ico, offset + 8, 4), 96u) << "colour rows and mask rows";
    EXPECT_EQ(LittleEndian(ico, offset + 14, 2), 8u) << "biBitCount";
    // Header, 256 palette entries, 8-bit pixels, then the 1-bit mask with rows padded to 4 bytes.
    EXPECT_EQ(size, 40u + 256 * 4 + 48 * 48 + 48 * 8);
}

} // namespace
