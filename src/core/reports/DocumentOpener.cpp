#include "core/reports/DocumentOpener.h"

namespace korvan {

namespace {

class NoOpener : public DocumentOpener {
public:
    bool open(const QString &) override { return false; }
};

NoOpener defaultOpener;
DocumentOpener *installed = nullptr;

} // namespace

DocumentOpener &DocumentOpener::current() { return installed ? *installed : defaultOpener; }

DocumentOpener *DocumentOpener::install(DocumentOpener *opener)
{
    DocumentOpener *previous = installed;
    installed = opener;
    return previous;
}

} // namespace korvan
