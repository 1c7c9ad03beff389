#include "cli/number_arguments.h"

#include <gtest/gtest.h>

namespace {

// Every option value of every command goes through these two: a number is the whole text.
TEST(NumberArguments, TakeOnlyAWholeTextThatIsTheNumber) {
  const struct {
    const char* text;
    bool whole;
    int32_t whole_value;
    bool decimal;
    double decimal_value;
  } rows[] = {
      {"8000", true, 8000, true, 8000.0},
      {"-13", true, -13, true, -13.0},
      {"2147483647", true, 2147483647, true, 2147483647.0},
      {"2147483648", false, 0, true, 2147483648.0},
      {"0.5", false, 0, true, 0.5},
      {"", false, 0, false, 0.0},
      {"-", false, 0, false, 0.0},
      {" 8000", false, 0, false, 0.0},
      {"8000 ", false, 0, false, 0.0},
      {"8k", false, 0, false, 0.0},
      {"+1", false, 0, true, 1.0},
      {"1e400", false, 0, false, 0.0},
      {"nan", false, 0, false, 0.0},
  };
  for (const auto& row : rows) {
    int32_t whole = 0;
    double decimal = 0.0;
    EXPECT_EQ(ReadWholeNumber(row.text, &whole), row.whole) << row.text;
    if (row.whole) EXPECT_EQ(whole, row.whole_value) << row.text;
    EXPECT_EQ(ReadDecimal(row.text, &decimal), row.decimal) << row.text;
    if (row.decimal) EXPECT_EQ(decimal, row.decimal_value) << row.text;
  }
}

}  // namespace
