#pragma once

#include <QString>

namespace korvan {

class WordSelection;

// Selection.Font: each attribute set applies to what the selection covers at that moment (on an
// insertion point, to the text inserted there next). Every failure raises a KorvanError.
class WordFont {
public:
    explicit WordFont(WordSelection &selection) : m_selection(&selection) {}

    void setName(const QString &name);
    // Whole or half points, 1 to 1638 as in Word.
    void setSize(double points);
    void setBold(bool on);
    void setItalic(bool on);
    // Raised and lowered text exclude each other; switching one off leaves the other alone.
    void setSubscript(bool on);
    void setSuperscript(bool on);

private:
    WordSelection *m_selection;
};

} // namespace korvan
