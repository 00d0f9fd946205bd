#pragma once

#include "core/reports/WordConstants.h"

namespace korvan {

class WordSelection;

// Selection.ParagraphFormat: applies to every paragraph the selection touches when it is set.
class WordParagraphFormat {
public:
    explicit WordParagraphFormat(WordSelection &selection) : m_selection(&selection) {}

    void setAlignment(WdParagraphAlignment alignment);
    void setKeepWithNext(bool keep);
    // OutlineLevel: 1 and 2 are the headings of the contents list.
    void setOutlineLevel(int level);

private:
    WordSelection *m_selection;
};

} // namespace korvan
