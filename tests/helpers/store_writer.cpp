// Test helper: commits one project, then writes more inside a transaction that it never ends,
// says "ready" and waits to be killed.
#include "core/data/Store.h"
#include "core/data/TTable.h"

#include <QCoreApplication>
#include <cstdio>
#include <thread>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    auto store = korvan::Store::open(QString::fromLocal8Bit(argv[1]));
    korvan::TTable projects(*store, QStringLiteral("project0.db"));
    projects.open();
    projects.append();
    projects.setValue(QStringLiteral("Name"), QStringLiteral("сохранённый"));
    projects.post();

    store->begin();
    for (int i = 0; i < 500; ++i) {
        projects.append();
        projects.setValue(QStringLiteral("Name"), QStringLiteral("незавершённый %1").arg(i));
        projects.setValue(QStringLiteral("ProjMemo"), QString(2000, QLatin1Char('x')));
        projects.post();
    }
    std::puts("ready");
    std::fflush(stdout);
    for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));
}
