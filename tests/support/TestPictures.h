#pragma once

#include <QByteArray>

namespace korvan::test {

// Small valid picture files for the tests: a grey PNG and a 24-bit BMP of the given size.
QByteArray makePng(int width, int height);
QByteArray makeBmp(int width, int height, bool topDown = false);

} // namespace korvan::test
