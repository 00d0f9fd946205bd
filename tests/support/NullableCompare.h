#pragma once

#include <QVariant>
#include <QtTest>

#include <cmath>
#include <optional>

// Compares a value that may be NULL (an empty std::optional<double>) with a data-table cell, where
// an invalid QVariant stands for NULL. A defined value must also be a finite number.
#define KORVAN_COMPARE_NULLABLE(actual, expected)                                                                      \
    do {                                                                                                               \
        const std::optional<double> korvanActual_ = (actual);                                                          \
        const QVariant korvanExpected_ = (expected);                                                                   \
        QCOMPARE(korvanActual_.has_value(), korvanExpected_.isValid());                                                \
        if (korvanActual_) {                                                                                           \
            QVERIFY(std::isfinite(*korvanActual_));                                                                    \
            QCOMPARE(*korvanActual_, korvanExpected_.toDouble());                                                      \
        }                                                                                                              \
    } while (false)
