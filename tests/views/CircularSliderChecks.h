#pragma once
// Checks for the circular slider's Qt Test cases that print both values.

#include <QByteArray>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

template <typename A, typename B>
QByteArray sliderMismatch(const A& a, const B& b)
{
    if constexpr (std::is_arithmetic_v<A> && std::is_arithmetic_v<B>)
        return QByteArray::number(double(a), 'g', 10) + " vs " + QByteArray::number(double(b), 'g', 10);
    else
        return "values differ";
}

#define CHECK(cond) QVERIFY(cond)
#define CHECK_EQ(a, b) QVERIFY2((a) == (b), sliderMismatch((a), (b)).constData())
#define CHECK_NEAR(a, b, tol) \
    QVERIFY2(std::fabs(double(a) - double(b)) <= (tol), sliderMismatch((a), (b)).constData())
// Equal within a few float steps.
#define CHECK_FLOAT(a, b) \
    CHECK_NEAR(a, b, 4 * std::numeric_limits<float>::epsilon() * std::max(1.0, std::fabs(double(b))))
