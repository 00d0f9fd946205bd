#pragma once

#include <QString>

namespace korvan {

// The message for a computed field whose value came out infinite or undefined. It names the
// inputs the field is computed from, the ones a user can look at and change, never the field's
// own name in the store («S», «$Wa», «Cosf_sr» mean nothing to a user).
QString nonFiniteFieldMessage(const QString &table, const QString &field);

} // namespace korvan
