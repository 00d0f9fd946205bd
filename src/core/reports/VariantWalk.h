#pragma once

#include "core/data/TTable.h"

namespace korvan {

// A walk over the variants that must not change the user's selection: the variant current when
// it starts (and with it its periods and modules) is made current again when it ends, also when
// the walk fails half way.
class VariantWalk {
public:
    explicit VariantWalk(TTable &variants) : m_variants(variants), m_bookmark(variants.bookmark()) {}
    ~VariantWalk()
    {
        try {
            if (m_bookmark.valid())
                m_variants.gotoBookmark(m_bookmark);
        } catch (...) {
            // Only a store that failed already gets here; its error is the one the user sees.
        }
    }
    VariantWalk(const VariantWalk &) = delete;
    VariantWalk &operator=(const VariantWalk &) = delete;

private:
    TTable &m_variants;
    TTable::Bookmark m_bookmark;
};

} // namespace korvan
