// A test of the program's logic against the doubles: fresh window layer,
// network and catalogue, and ProgramDirectory in a fresh folder.
#pragma once

#include "common/program_values.h"
#include "i18n/catalogue.h"
#include "tests/doubles/network_double.h"
#include "tests/doubles/ui_double.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace testing_support {

class ProgramTest : public ::testing::Test {
  protected:
    TempFolder programFolder;

    void SetUp() override {
        doubles::ResetUi();
        doubles::ResetNetwork();
        i18n::ClearLanguageSelection();
        common::NetworkState = "ok";
        common::SetProgramConstants();
        common::ProgramDirectory = programFolder.path();
    }

    static const std::string& Text(i18n::CatalogueKey key) { return i18n::CatalogueText(key); }
};

} // namespace testing_support
