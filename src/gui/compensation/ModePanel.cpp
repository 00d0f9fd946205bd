#include "gui/compensation/ModePanel.h"
#include "core/data/Fields.h"

#include "core/calc/ModuleSwitching.h"
#include "core/data/TTable.h"
#include "gui/widgets/NumericEdit.h"
#include "gui/widgets/StepButton.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace korvan {

namespace {

const QString Defaults[3] = {QStringLiteral("0,92"), QStringLiteral("0,98"), QStringLiteral("0,97")};

} // namespace

ModePanel::ModePanel(QWidget *parent)
    : QWidget(parent), m_group(new QGroupBox(QStringLiteral(" Режим подбора модулей КУ "), this)),
      m_buttons(new QButtonGroup(this)), m_min(new NumericEdit(NumericEdit::Decimal, this)),
      m_max(new NumericEdit(NumericEdit::Decimal, this)), m_tr(new NumericEdit(NumericEdit::Decimal, this)),
      m_minLabel(new QLabel(QStringLiteral("Минимальное значение cos(f) :"), this)),
      m_maxLabel(new QLabel(QStringLiteral("Максимальное значение cos(f) :"), this)),
      m_trLabel(new QLabel(QStringLiteral("Требуемое значение cos(f) :"), this))
{
    m_group->setObjectName(QStringLiteral("rdgRejim"));
    auto *radios = new QVBoxLayout(m_group);
    const QStringList &captions = selectionModeCaptions();
    for (int i = 0; i < captions.size(); ++i) {
        auto *r = new QRadioButton(captions[i], m_group);
        r->setObjectName(QStringLiteral("rbRejim%1").arg(i));
        m_buttons->addButton(r, i);
        radios->addWidget(r);
    }
    m_buttons->button(0)->setChecked(true);
    connect(m_buttons, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (!on)
            return;
        enableFields();
        emit modeChanged(id);
    });

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    const struct {
        NumericEdit *edit;
        QLabel *label;
        const char *name, *up10, *up100;
    } fields[] = {{m_min, m_minLabel, "EditCosf_min", "SpinButtonMin01", "SpinButtonMin001"},
                  {m_max, m_maxLabel, "EditCosf_max", "SpinButtonMax01", "SpinButtonMax001"},
                  {m_tr, m_trLabel, "EditCosf_tr", "SpinButtonTr01", "SpinButtonTr001"}};
    int row = 0;
    for (const auto &f : fields) {
        f.edit->setObjectName(QLatin1String(f.name));
        f.edit->setText(Defaults[row]);
        f.edit->setFixedWidth(70);
        f.edit->setAlignment(Qt::AlignRight);
        f.label->setBuddy(f.edit);
        grid->addWidget(f.label, row, 0);
        grid->addWidget(f.edit, row, 1);
        int col = 2;
        for (auto [step, name] : {std::pair{0.1, f.up10}, std::pair{0.01, f.up100}}) {
            auto *b = new StepButton(f.edit, step, this);
            b->setObjectName(QLatin1String(name));
            b->setEnabledOnly(true);
            b->setUpBound(1);
            b->setUpCheck(QStringLiteral("коэффициента мощности"));
            b->setCaptionShown(true);
            grid->addWidget(b, row, col++);
            m_steps << b;
        }
        connect(f.edit, &QLineEdit::textChanged, this, &ModePanel::cosfTextChanged);
        ++row;
    }
    grid->setColumnStretch(4, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_group);
    layout->addLayout(grid);
    enableFields();
}

int ModePanel::mode() const { return qMax(0, m_buttons->checkedId()); }

void ModePanel::setMode(int mode)
{
    if (QAbstractButton *b = m_buttons->button(mode))
        b->setChecked(true);
    enableFields();
}

ModeInput ModePanel::input() const
{
    ModeInput in;
    in.mode = mode();
    in.cosfMin = m_min->text();
    in.cosfMax = m_max->text();
    in.cosfTr = m_tr->text();
    return in;
}

void ModePanel::takeFromVariant(const TTable &variants)
{
    const bool any = variants.active() && !variants.isEmpty();
    const int mode = any ? int(selectionModeCaptions().indexOf(variants.asString(fld::Rejim))) : -1;
    setMode(mode < 0 ? 0 : mode);
    const QString fieldNames[3] = {fld::Cosf_min, fld::Cosf_max, fld::Cosf_tr};
    NumericEdit *edits[3] = {m_min, m_max, m_tr};
    for (int i = 0; i < 3; ++i) {
        const QString &field = fieldNames[i];
        edits[i]->setText(any && !variants.isNull(field) ? variants.asString(field) : Defaults[i]);
    }
}

NumericEdit *ModePanel::field(int which) const
{
    switch (which) {
    case VariantParams::CosfMin:
        return m_min;
    case VariantParams::CosfMax:
        return m_max;
    case VariantParams::CosfTr:
        return m_tr;
    default:
        return nullptr;
    }
}

void ModePanel::enableFields()
{
    const int m = mode();
    for (auto [edit, label, on] :
         {std::tuple{m_min, m_minLabel, ModeInput::usesMin(m)}, std::tuple{m_max, m_maxLabel, ModeInput::usesMax(m)},
          std::tuple{m_tr, m_trLabel, ModeInput::usesTr(m)}}) {
        edit->setEnabled(on);
        label->setEnabled(on);
    }
}

} // namespace korvan
