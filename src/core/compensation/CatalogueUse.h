#pragma once

#include <QStringList>
#include <QVariant>

namespace korvan {

class Store;

// The compensation variants, in every project, built on an installation type of the catalogue
// (type: its sKU1 key) or on any type of a company (company: its sKU0 key, type null), named
// «Проект «…», вариант N» in the order of the projects and their variants.
QStringList variantsUsingCatalogue(Store &store, const QVariant &company, const QVariant &type);

// The question before deleting a catalogue row, or (when variants use it) the refusal that names
// them: what the catalogue window shows. Empty refusal: the row may go after the question.
struct CatalogueDeletion {
    QString question;
    QString refusal;
};
CatalogueDeletion companyDeletion(Store &store, const QVariant &company, const QString &name);
CatalogueDeletion typeDeletion(Store &store, const QVariant &type, const QString &name);

} // namespace korvan
