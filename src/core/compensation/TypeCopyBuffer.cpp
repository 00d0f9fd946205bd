#include "core/compensation/TypeCopyBuffer.h"

#include "core/data/TTable.h"

namespace korvan {

void TypeCopyBuffer::copy(const TTable &types)
{
    m_texts.clear();
    for (int i = 2; i < types.fieldCount(); ++i)
        m_texts << types.asString(i);
    m_filled = true;
}

void TypeCopyBuffer::paste(TTable &types) const
{
    if (!m_filled)
        return;
    if (!types.editing())
        types.insert();
    for (int i = 0; i < m_texts.size() && i + 2 < types.fieldCount(); ++i)
        types.setAsString(i + 2, m_texts[i]);
}

} // namespace korvan
