#pragma once

#include <QString>
#include <QVariant>

namespace korvan {

class Store;

// The question before deleting a catalogue row, or, when variants use it, the refusal that names
// them: what the catalogue window shows. An empty refusal: the row may go after the question.
struct CatalogueDeletion {
    QString question;
    QString refusal;
};
// A company goes with its types and modules: refused while a variant uses any of its types.
CatalogueDeletion companyDeletion(Store &store, const QVariant &company, const QString &name);
CatalogueDeletion typeDeletion(Store &store, const QVariant &type, const QString &name);

} // namespace korvan
