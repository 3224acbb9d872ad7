#pragma once

#include <gtest/gtest.h>

#include <string>

#include "base/string_table.h"

namespace q93::test {

// Names a case of a table by its row's `name`.
struct RowName {
    template <class Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& info) const {
        return info.param.name;
    }
};

inline std::string languageCaseName(const ::testing::TestParamInfo<Language>& info) {
    return info.param == Language::German ? "German" : "English";
}

}  // namespace q93::test
