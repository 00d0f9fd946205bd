#pragma once

#include <QString>

namespace korvan {

enum class VerticalPosition { Baseline, Superscript, Subscript };

// The character attributes the reports set. The defaults are the document's defaults.
struct CharacterFormat {
    QString name = QStringLiteral("Times New Roman");
    int halfPoints = 24; // Word keeps sizes in half points
    bool bold = false;
    bool italic = false;
    VerticalPosition position = VerticalPosition::Baseline;

    bool operator==(const CharacterFormat &) const = default;
};

} // namespace korvan
