#pragma once

#include <QStringList>

namespace korvan {

class TTable;

// The installation catalogue's copy buffer: the texts of an installation type's fields from the
// third on (Name, Q, Pp, Unom, Cena), kept for the whole run. Module groups are never copied.
class TypeCopyBuffer {
public:
    // Takes the current type's values, posted or still being edited.
    void copy(const TTable &types);
    // Writes the texts into the type being edited, or into a new row inserted at the cursor; the
    // row is left unposted for the user to post or cancel. The detail edit guard may refuse the
    // insert (it has shown its message then and throws Abort).
    void paste(TTable &types) const;
    bool filled() const { return m_filled; }
    const QStringList &texts() const { return m_texts; }

private:
    QStringList m_texts;
    bool m_filled = false;
};

} // namespace korvan
