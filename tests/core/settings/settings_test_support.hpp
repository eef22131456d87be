// What the settings tests share: a field of the tables by its name.
#pragma once

#include <gtest/gtest.h>

#include <string_view>

#include "core/settings/setting_fields.hpp"

namespace cps::testing {

// The row of `name`; a test that names no row fails, and gets an empty row.
inline const SettingField& FieldNamed(std::string_view name) {
  const SettingField* f = FindSettingField(name);
  EXPECT_NE(f, nullptr) << name;
  static const SettingField kNone{};
  return f != nullptr ? *f : kNone;
}

}  // namespace cps::testing
