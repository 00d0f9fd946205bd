// Copying an installation type of the catalogue and pasting it under another company.
#include "MessageRecorder.h"
#include "ProjectFixture.h"

#include "core/compensation/TypeCopyBuffer.h"

#include <QtTest>

using namespace korvan;
using namespace korvan::test;

class TestTypeCopyBuffer : public QObject {
    Q_OBJECT
private slots:
    void copyUnderAnotherCompany()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        addCatalogueType(dm, "Первая", "УКМ-0,4-100", 100, 0.0045, 48500.5, {{25, 4}});
        TypeCopyBuffer buffer;
        QVERIFY(!buffer.filled());
        buffer.copy(*dm.tblsKU1);
        QCOMPARE(buffer.texts(), QStringList({"УКМ-0,4-100", "100", "0,0045", "400", "48500,5"}));
        appendRow(*dm.tblsKU0, {{"Company", "Вторая"}});
        buffer.paste(*dm.tblsKU1);
        QCOMPARE(dm.tblsKU1->state(), TTable::State::Insert); // left for the user to post
        dm.tblsKU1->post();
        QCOMPARE(dm.tblsKU1->asInteger("Kod0"), dm.tblsKU0->currentKod());
        QCOMPARE(dm.tblsKU1->asFloat("Cena"), 48500.5);
        QCOMPARE(dm.tblsKU2->recordCount(), 0); // no module groups
        QCOMPARE(dm.tblsKU1->recordCount(), 1);
    }

    void pasteWhileEditingOverwrites()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        addCatalogueType(dm, "Первая", "А", 50, 0.005, QVariant(), {{25, 2}});
        TypeCopyBuffer buffer;
        buffer.copy(*dm.tblsKU1);
        QCOMPARE(buffer.texts().last(), QString()); // no price: an empty text
        appendRow(*dm.tblsKU1, {{"Name", "Б"}, {"Q", 10}, {"Pp", 0.004}, {"Unom", 380}, {"Cena", 1}});
        dm.tblsKU1->edit();
        buffer.paste(*dm.tblsKU1);
        dm.tblsKU1->post();
        QCOMPARE(dm.tblsKU1->recordCount(), 2);
        QCOMPARE(dm.tblsKU1->asString("Name"), QStringLiteral("А"));
        QVERIFY(dm.tblsKU1->isNull("Cena"));
    }

    void guardRefusesWhileTheCompanyIsEdited()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        TypeCopyBuffer buffer;
        dm.tblsKU0->first();
        buffer.copy(*dm.tblsKU1);
        const int before = dm.tblsKU1->recordCount();
        dm.tblsKU0->edit();
        MessageRecorder rec;
        QVERIFY_THROWS_EXCEPTION(Abort, buffer.paste(*dm.tblsKU1));
        QCOMPARE(rec.errors, QStringList{"Завершите работу с главной таблицей."});
        QCOMPARE(dm.tblsKU1->state(), TTable::State::Browse);
        dm.tblsKU0->cancel();
        QCOMPARE(dm.tblsKU1->recordCount(), before);
    }
};

QTEST_GUILESS_MAIN(TestTypeCopyBuffer)
#include "test_type_copy_buffer.moc"
