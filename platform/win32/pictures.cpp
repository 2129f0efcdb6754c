// Pictures decoded from stored JPEG streams with libjpeg (6b API) into
// device-independent bitmaps.
#include "platform/ui.h"
#include "platform/win32/win32_ui.h"

#include <csetjmp>
#include <cstdio>
#include <map>
#include <vector>

#include <jpeglib.h>

namespace platform {
namespace {

std::map<int, HBITMAP> pictures;

struct DecodeError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

// libjpeg's own handler ends the process; a bad picture must only mean no picture.
[[noreturn]] void OnDecodeError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<DecodeError*>(info->err)->jump, 1);
}

// Decodes into `rows` as 24-bit BGR, bottom-up rows padded to 4 bytes. Only
// plain data lives here, as longjmp skips destructors.
bool DecodeJpeg(const unsigned char* data, std::size_t size, unsigned char* (*allocate)(int, int),
                int* width, int* height) {
    jpeg_decompress_struct info;
    DecodeError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnDecodeError;
    if (setjmp(error.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    *width = static_cast<int>(info.output_width);
    *height = static_cast<int>(info.output_height);
    unsigned char* bits = allocate(*width, *height);
    if (bits == nullptr) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const int stride = (*width * 3 + 3) & ~3;
    while (info.output_scanline < info.output_height) {
        unsigned char* row =
            bits + static_cast<std::size_t>(*height - 1 - static_cast<int>(info.output_scanline)) *
                       static_cast<std::size_t>(stride);
        JSAMPROW rows[1] = {row};
        jpeg_read_scanlines(&info, rows, 1);
        for (int x = 0; x < *width; ++x) { // RGB to the bitmap's BGR
            unsigned char red = row[x * 3];
            row[x * 3] = row[x * 3 + 2];
            row[x * 3 + 2] = red;
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

HBITMAP newBitmap = nullptr;
void* newBits = nullptr;

unsigned char* AllocateBitmap(int width, int height) {
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = width;
    header.bmiHeader.biHeight = height;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 24;
    header.bmiHeader.biCompression = BI_RGB;
    newBitmap = CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &newBits, nullptr, 0);
    return newBitmap != nullptr ? static_cast<unsigned char*>(newBits) : nullptr;
}

} // namespace

bool MakePictureFromMemory(int image, const unsigned char* data, std::size_t size) {
    if (data == nullptr || size == 0) {
        return false;
    }
    int width = 0;
    int height = 0;
    newBitmap = nullptr;
    if (!DecodeJpeg(data, size, AllocateBitmap, &width, &height)) {
        if (newBitmap != nullptr) {
            DeleteObject(newBitmap);
        }
        return false;
    }
    if (HBITMAP old = win32::PictureBitmap(image)) {
        DeleteObject(old);
    }
    pictures[image] = newBitmap;
    return true;
}

namespace win32 {

HBITMAP PictureBitmap(int image) {
    const auto found = pictures.find(image);
    return found != pictures.end() ? found->second : nullptr;
}

void FreePictures() {
    for (const auto& picture : pictures) {
        DeleteObject(picture.second);
    }
    pictures.clear();
}

void DrawPictureButton(const DRAWITEMSTRUCT& item, int image) {
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    RECT face = item.rcItem;
    DrawFrameControl(item.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    if (HBITMAP bitmap = PictureBitmap(image)) {
        BITMAP info{};
        GetObject(bitmap, sizeof(info), &info);
        const int shift = pressed ? 1 : 0;
        const int x = face.left + (face.right - face.left - info.bmWidth) / 2 + shift;
        const int y = face.top + (face.bottom - face.top - info.bmHeight) / 2 + shift;
        HDC memory = CreateCompatibleDC(item.hDC);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(item.hDC, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    if ((item.itemState & ODS_FOCUS) != 0) {
        RECT focus = face;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(item.hDC, &focus);
    }
}

} // namespace win32
} // namespace platform
