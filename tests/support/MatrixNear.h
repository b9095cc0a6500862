#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "math/Matrix.h"

// Every element of actual within tolerance of expected; the failure prints both.
inline ::testing::AssertionResult MatrixNear(const Matrix& actual, const Matrix& expected, float tolerance)
{
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            if (std::abs(actual(row, col) - expected(row, col)) <= tolerance)
                continue;
            std::ostringstream why;
            why << "element (" << row << ", " << col << ") is " << actual(row, col) << ", not "
                << expected(row, col) << "\nactual:  ";
            for (int i = 0; i < 16; ++i)
                why << actual.Data()[i] << ' ';
            why << "\nexpected: ";
            for (int i = 0; i < 16; ++i)
                why << expected.Data()[i] << ' ';
            return ::testing::AssertionFailure() << why.str();
        }
    }
    return ::testing::AssertionSuccess();
}
