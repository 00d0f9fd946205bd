#pragma once

#include <QString>

#include <optional>

namespace korvan {

class TDataModule1;

// The key of a hint: a table file name and a field name, compared exactly.
struct HintKey {
    QString table;
    QString field;
    bool isEmpty() const { return table.isEmpty() || field.isEmpty(); }
    bool operator==(const HintKey &) const = default;
};

// The longest hint Hints.DB keeps; a longer text is cut to it.
inline constexpr int MaxHintLength = 255;

// The hint of the key's record, or nothing when the field has no record (an empty stored text is
// a record all the same).
std::optional<QString> FindHint(const TDataModule1 &data, const HintKey &key);

// Attaches a hint to a field or replaces the text of the one it has, in the same record, so a key
// never has two records. The cursor of Hints.DB ends on that record. One transaction.
void EditHint(TDataModule1 &data, const HintKey &key, const QString &text);

// Detaches the hint of a field. False, with nothing changed, when the field has none.
bool RemoveHint(TDataModule1 &data, const HintKey &key);

} // namespace korvan
