// Table-driven checks for the native tests.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

// Expects fn(input) == expected for each case, naming the input of a failure.
template <class In, class Out, class Fn>
void expectEach(Fn fn, std::initializer_list<std::pair<In, Out>> cases) {
    for (const auto& [in, out] : cases) EXPECT_EQ(fn(in), out) << "for " << ::testing::PrintToString(in);
}
