#include "core/ChildProcessGroup.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/Messages.h"
#include "core/QtTranslation.h"
#include "gui/app/StoreChoice.h"
#include "gui/app/TMainForm.h"
#include "gui/app/TSplashFm.h"
#include "gui/dialogs/DialogHelpKey.h"
#include "gui/ui/SavedNotice.h"
#include "gui/ui/WindowPlacement.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QTranslator>
#include <optional>

namespace {

// The program's message boxes. The splash stays on top of every window: it steps aside for a
// message of the start-up (a store that cannot be opened).
class MessageBoxes : public korvan::MessageSink {
public:
    void setSplash(QWidget *splash) { m_splash = splash; }
    void error(const QString &text) override { box(QMessageBox::Critical, QStringLiteral("Ошибка"), text); }
    void information(const QString &text) override
    {
        box(QMessageBox::Information, QStringLiteral("Информация"), text);
    }
    void warning(const QString &text) override { box(QMessageBox::Warning, QStringLiteral("Предупреждение"), text); }
    bool question(const QString &text) override { return ask(text, QMessageBox::Yes); }
    bool cautiousQuestion(const QString &text) override { return ask(text, QMessageBox::No); }

    // A server's password at start-up: typed, never shown, kept by nobody once connected.
    std::optional<QString> password(const QString &text)
    {
        hideSplash();
        QInputDialog dialog(QApplication::activeWindow());
        dialog.setWindowTitle(QStringLiteral("Пароль"));
        dialog.setLabelText(text + QStringLiteral("\n\nПароль:"));
        dialog.setTextEchoMode(QLineEdit::Password);
        // The server's own words may be long: they wrap in a window of a reasonable width.
        if (auto *label = dialog.findChild<QLabel *>())
            label->setWordWrap(true);
        dialog.setMinimumWidth(520);
        dialog.setOkButtonText(QStringLiteral("OK"));
        dialog.setCancelButtonText(QStringLiteral("Отмена"));
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.textValue();
    }

private:
    void hideSplash()
    {
        if (m_splash)
            m_splash->hide();
    }

    bool ask(const QString &text, QMessageBox::StandardButton defaultButton)
    {
        hideSplash();
        QMessageBox m(QMessageBox::Question, QStringLiteral("Подтверждение"), text, QMessageBox::Yes | QMessageBox::No,
                      QApplication::activeWindow());
        m.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
        m.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
        m.setDefaultButton(defaultButton);
        return m.exec() == QMessageBox::Yes;
    }

    void box(QMessageBox::Icon icon, const QString &title, const QString &text)
    {
        hideSplash();
        QMessageBox m(icon, title, text, QMessageBox::Ok, QApplication::activeWindow());
        m.exec();
    }

    QPointer<QWidget> m_splash;
};

// "--store FOLDER|postgresql://..." (or "--store=..."): the store of this run; empty when not given.
// Whatever else is on the command line is left to Qt.
std::optional<QString> storeArgument(const QStringList &arguments, QString &problem)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a.startsWith(QLatin1String("--store="))) {
            const QString value = a.mid(8);
            if (value.trimmed().isEmpty())
                problem = QStringLiteral("После --store нужно указать каталог данных или адрес сервера PostgreSQL.");
            return value;
        }
        if (a == QLatin1String("--store")) {
            if (i + 1 >= arguments.size() || arguments[i + 1].trimmed().isEmpty()) {
                problem = QStringLiteral("После --store нужно указать каталог данных или адрес сервера PostgreSQL.");
                return QString();
            }
            return arguments[i + 1];
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Calendars, context menus and standard buttons speak the program's language.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Ukraine));
    QTranslator qtTexts;
    korvan::installQtTranslation(qtTexts);
    MessageBoxes boxes;
    korvan::Messages::install(&boxes);
    // A written report opens in the desktop's application for .docx files, as Word stayed open with it.
    korvan::DesktopServicesOpener opener;
    korvan::DocumentOpener::install(&opener);
    korvan::WindowPlacement::install();
    korvan::installDialogHelpKey();
    // Ended by the session or by kill, the program takes LibreOffice (a PDF export) with it.
    korvan::ChildProcessGroup::installTerminationCleanup();

    QPointer<korvan::TSplashFm> splash = new korvan::TSplashFm;
    boxes.setSplash(splash);
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    QApplication::setApplicationName(QStringLiteral("Korvan Vkp"));

    int status = 0;
    {
        std::unique_ptr<korvan::Store> store;
        std::unique_ptr<korvan::TDataModule1> data;
        try {
            const auto askPassword = [&boxes](const QString &text) { return boxes.password(text); };
            QString problem;
            const std::optional<QString> given = storeArgument(QApplication::arguments(), problem);
            if (!problem.isEmpty())
                throw korvan::KorvanError(problem);
            if (given) {
                // A colleague's folder or a test store for this run, the settings untouched.
                store = korvan::openGivenStore(*given, askPassword);
            } else {
                // The store the user chose in "Хранилище данных...": the data folder unless a server was chosen.
                const korvan::StoreChoice choice = korvan::StoreChoice::load(*korvan::StoreChoice::userSettings());
                store = korvan::openStartupStore(choice, korvan::Store::defaultDataDirectory(), askPassword);
            }
            if (store)
                data = std::make_unique<korvan::TDataModule1>(*store);
        } catch (const korvan::KorvanError &e) {
            delete splash;
            korvan::Messages::error(e.message());
        }
        if (!data) {
            delete splash;
            korvan::Messages::install(nullptr);
            return 1;
        }
        if (splash)
            splash->show();
        // The main window creates the windows of its commands; the splash shows while it loads.
        korvan::TMainForm form(*data);
        if (splash)
            splash->close();
        form.showMaximized();
        status = app.exec();
    }
    korvan::DocumentOpener::install(nullptr);
    korvan::Messages::install(nullptr);
    return status;
}
