// Compiled once per program file, each with its own SKIMDEX_MAKER_SITE_URL.
#include "common/program_values.h"

#ifndef SKIMDEX_MAKER_SITE_URL
#error "the build sets SKIMDEX_MAKER_SITE_URL"
#endif

const char* common::MakerSiteUrl() {
    return SKIMDEX_MAKER_SITE_URL;
}
