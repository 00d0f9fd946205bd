// TMainForm: the main window, with the menu and toolbar of every command.
#pragma once

#include <QMainWindow>
#include <memory>

class QAction;
class QLabel;
class QSplitter;
class QToolBar;

namespace korvan {

class CharacteristicGrid;
class CommandProgressBar;
class CursorGrid;
class TAboutForm;
class TAddSutGrF;
class TDataModule1;
class TDiagParF;
class TDiagSutF;
class TEconomForm;
class TOpenForm;
class TOtrPromF;
class TProjForm;
class TStoreForm;
struct ProjectParams;
class TSupplyForm;
class TSelKU_Fm;
class TSelKompF;
class TsKUForm;
class TsSutGrFm;
class THintForm;
struct HintServices;
class TOpenForm;
class TParRepFm;
class TProjForm;
class WordApplication;

// The main window: the current project's characteristics, its load graph, its compensation
// variants with their compensated graphs and modules, and the menu and toolbar from which every
// command starts. Its dialogs are created with it and live as long as it does.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int HelpContext = 25;

    explicit TMainForm(TDataModule1 &data, QWidget *parent = nullptr);
    ~TMainForm() override;

    TDataModule1 &data() const { return m_data; }

    // The value rows of the three characteristic grids from the current project.
    void RefreshCharacteristics();
    // Enables each command by the state of the data.
    void UpdateCommands();
    // "Korvan Vkp 1.0." or "Korvan Vkp 1.0. <project>.".
    void SetCaption();
    void SetCharacteristicHeaders();
    static QString captionFor(const QString &projectName, bool anyProject);

    // The status bar's one panel (field hints under the mouse).
    void setStatusHint(const QString &text);
    QString statusHint() const;

    TProjForm *projForm() const { return m_projForm; }
    TEconomForm *economForm() const { return m_economForm; }
    TSupplyForm *supplyForm() const { return m_supplyForm; }
    TOpenForm *openForm() const { return m_openForm; }
    TAboutForm *aboutForm() const { return m_aboutForm; }
    TStoreForm *storeForm() const { return m_storeForm; }
    TsKUForm *sKUForm() const { return m_sKUForm; }
    TSelKU_Fm *selKUForm() const { return m_selKUForm; }
    TSelKompF *selKompForm() const { return m_selKompForm; }
    TAddSutGrF *addSutGrForm() const { return m_addSutGrForm; }
    TsSutGrFm *sutGrForm() const { return m_sutGrForm; }
    TOtrPromF *otrPromForm() const { return m_otrPromForm; }
    TParRepFm *parRepFm() const { return m_parRepFm; }
    THintForm *hintForm() const { return m_hintForm; }
    // What the grids of any window need for their field hints (attachHints).
    HintServices hintServices();
    // Keeps the document of the run's last report, which a report "into the current document" extends.
    WordApplication &word() const { return *m_word; }
    CommandProgressBar *progressBar() const { return m_progress; }
    QList<CursorGrid *> dataGrids() const;
    QList<CharacteristicGrid *> characteristicGrids() const;

public slots:
    // "Проект"
    void mnCreateClick();
    void mnOpenClick();
    void mnEditClick();
    void mnEconomClick();
    void mnSupplyClick();
    void mnDeleteClick();
    void mnSaveAsClick();
    void mnRecalcClick();
    void mnDiagSutClick();
    void mnDiagParClick();
    void mnWordReportClick();
    void mnPdfReportClick();
    void mnExitClick();
    // "Нагрузка"
    void mnAddSutGrafClick();
    void mnEditSutGrafClick();
    void mnAddSutGrafSprClick();
    // "КУ"
    void mnKUAddClick();
    void mnKUEditClick();
    void mnKUDeleteClick();
    void mnKUPodborClick();
    void mnKUPodborAllClick();
    void mnWordRepKUClick();
    void mnPdfRepKUClick();
    // "Справочники", "Параметры", "Помощь"
    void mnsKUClick();
    void mnsSutGrClick();
    void mnParRepClick();
    void mnStoreClick();
    void mnHelpClick();
    void mnAboutClick();

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildActions();
    void buildMenus();
    void buildToolBar();
    QWidget *buildUpperPanel();
    QWidget *buildLowerPanel();
    QAction *action(const char *name) const;
    // The commands a grid offers in its pop-up menu and (keys) on Insert, Enter and Delete: add,
    // edit, delete.
    void addGridCommands(CursorGrid *grid, std::initializer_list<const char *> names, bool keys);
    void FormActivate();
    void afterProjectCommand();
    void editProjectParams(const ProjectParams &params);
    void afterGraphCommand();
    void scheduleUpdateCommands();
    void refreshCharacteristicsIfMoved();
    void afterVariantCommand();
    void podbor(bool allVariants);
    // The report into a Word document, or (pdf) into a PDF file beside the documents.
    void exportReport(bool allVariants, bool pdf = false);

    TDataModule1 &m_data;
    QHash<QString, QAction *> m_actions;
    QToolBar *m_toolBar = nullptr;
    CommandProgressBar *m_progress = nullptr;
    QLabel *m_statusPanel = nullptr;
    QSplitter *m_splitter = nullptr;
    CharacteristicGrid *m_gridS = nullptr, *m_gridM = nullptr, *m_gridG = nullptr;
    CursorGrid *m_grid1 = nullptr, *m_grid2 = nullptr, *m_grid3 = nullptr, *m_grid4 = nullptr, *m_grid5 = nullptr;
    TProjForm *m_projForm = nullptr;
    TEconomForm *m_economForm = nullptr;
    TSupplyForm *m_supplyForm = nullptr;
    TOpenForm *m_openForm = nullptr;
    TAboutForm *m_aboutForm = nullptr;
    TStoreForm *m_storeForm = nullptr;
    TsKUForm *m_sKUForm = nullptr;
    TSelKU_Fm *m_selKUForm = nullptr;
    TSelKompF *m_selKompForm = nullptr;
    TAddSutGrF *m_addSutGrForm = nullptr;
    TsSutGrFm *m_sutGrForm = nullptr;
    TOtrPromF *m_otrPromForm = nullptr;
    TDiagSutF *m_diagSutF = nullptr;
    TDiagParF *m_diagParF = nullptr;
    TParRepFm *m_parRepFm = nullptr;
    THintForm *m_hintForm = nullptr;
    std::unique_ptr<WordApplication> m_word;
    bool m_updatePending = false;
    quint64 m_shownEpoch = 0; // the store's epoch when the characteristic grids were filled
};

} // namespace korvan
