#include "blocks/dialogs/frmFaYin.h"

#include "ui_frmFaYin.h"

#include "gbk/GbkText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>

using namespace Qt::StringLiterals;

TFormFaYin::TFormFaYin(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormFaYin) {
    ui->setupUi(this);
    SetUpFrame();
    for (int b = 1; b <= RestButton; ++b)
        Keys[b - 1] = findChild<QRadioButton*>(u"RadioButton"_s + QString::number(b));
    for (int b = 1; b <= PitchButtonCount; ++b) {
        for (const QString& prefix :
             {u"LabelTone"_s, u"LabelDotBelow"_s, u"LabelDotAbove"_s, u"LabelDotTop"_s}) {
            if (auto* label = findChild<QLabel*>(prefix + QString::number(b)))
                KeyLabels[b - 1].append(label);
        }
    }
    // The octave dots are small marks above and below the digits; in the
    // dialog font they would need a full line each.
    for (QLabel* dot : ui->GroupBox1->findChildren<QLabel*>()) {
        if (dot->objectName().startsWith(u"LabelDot"))
            dot->setFont(DialogFont(8));
    }

    connect(ui->ComboBox1, &QComboBox::currentIndexChanged, this, &TFormFaYin::ComboBox1Change);
    connect(ui->Button4, &QPushButton::clicked, this, &TFormFaYin::Button4Click);
    connect(ui->Button5, &QPushButton::clicked, this, &TFormFaYin::Button5Click);
    connect(ui->Button6, &QPushButton::clicked, this, &TFormFaYin::Button6Click);
    connect(ui->SpeedButton1, &QToolButton::clicked, this, &TFormFaYin::SpeedButton1Click);
    connect(ui->SpeedButton2, &QToolButton::clicked, this, &TFormFaYin::SpeedButton2Click);
    FormCreate();
}

TFormFaYin::~TFormFaYin() = default;

QComboBox* TFormFaYin::ComboBox1() const {
    return ui->ComboBox1;
}

QComboBox* TFormFaYin::ComboBox2() const {
    return ui->ComboBox2;
}

QCheckBox* TFormFaYin::CheckBox1() const {
    return ui->CheckBox1;
}

QListWidget* TFormFaYin::ListBox1() const {
    return ui->ListBox1;
}

QPushButton* TFormFaYin::Button4() const {
    return ui->Button4;
}

QPushButton* TFormFaYin::Button5() const {
    return ui->Button5;
}

QPushButton* TFormFaYin::Button6() const {
    return ui->Button6;
}

QToolButton* TFormFaYin::SpeedButton1() const {
    return ui->SpeedButton1;
}

QToolButton* TFormFaYin::SpeedButton2() const {
    return ui->SpeedButton2;
}

QRadioButton* TFormFaYin::RadioButton(int b) const {
    if (b < 1 || b > RestButton)
        return nullptr;
    return Keys[b - 1];
}

void TFormFaYin::FormCreate() {
    RefreshRange();
}

void TFormFaYin::ComboBox1Change() {
    RefreshRange();
}

int TFormFaYin::Range() const {
    const int range = ui->ComboBox1->currentIndex();
    return range >= 0 && range < RangeCount ? range : 0;
}

void TFormFaYin::RefreshRange() {
    if (ui->ComboBox1->currentIndex() != Range()) {
        // Choosing the entry here rather than through the change handler
        // keeps this a single pass.
        const QSignalBlocker blocker(ui->ComboBox1);
        ui->ComboBox1->setCurrentIndex(Range());
    }
    const int range = Range();
    for (int b = 1; b <= PitchButtonCount; ++b) {
        const bool inRange = b > range && b <= range + PitchesPerRange;
        Keys[b - 1]->setEnabled(inRange);
        // Greying the digits too shows the range at a glance.
        for (QLabel* label : KeyLabels[b - 1])
            label->setEnabled(inRange);
    }
    Keys[RestButton - 1]->setChecked(true);
}

int TFormFaYin::CheckedNote() const {
    for (int b = 1; b <= RestButton; ++b) {
        if (Keys[b - 1]->isChecked())
            return b;
    }
    return -1;
}

QString TFormFaYin::NoteCode() const {
    const int length = qBound(1, ui->ComboBox2->currentIndex() + 1, 8);
    const int b = CheckedNote();
    int pitch = b == RestButton || b < 0 ? 0 : b - Range();
    // A button outside the range's window is disabled and cannot be checked
    // by the user; should one be, it must not produce a code the robot
    // would read as another note.
    if (pitch < 0 || pitch > PitchesPerRange)
        pitch = 0;
    return QString::number(pitch, 16).toUpper() + QString::number(length);
}

void TFormFaYin::LoadMelody(std::string_view melody) {
    ui->ListBox1->clear();
    for (std::size_t k = 0; k + 1 < melody.size(); k += 2)
        ui->ListBox1->addItem(GbkDecode(melody.substr(k, 2)));
}

std::string TFormFaYin::MelodyText() const {
    std::string melody;
    for (int row = 0; row < ui->ListBox1->count(); ++row) {
        // Entries come from note codes or from decoded record bytes, so
        // they always have a GBK form.
        melody += GbkEncode(ui->ListBox1->item(row)->text()).value_or(std::string());
    }
    return melody;
}

int TFormFaYin::SelectedRow() const {
    const QListWidgetItem* item = ui->ListBox1->currentItem();
    return item && item->isSelected() ? ui->ListBox1->currentRow() : -1;
}

void TFormFaYin::Button4Click() {
    ui->ListBox1->addItem(NoteCode());
}

void TFormFaYin::Button5Click() {
    const int row = SelectedRow();
    if (row >= 0)
        ui->ListBox1->item(row)->setText(NoteCode());
}

void TFormFaYin::Button6Click() {
    const int row = SelectedRow();
    if (row < 0)
        return;
    delete ui->ListBox1->takeItem(row);
    // Nothing stays selected, so a second click does not delete a note the
    // user has not chosen.
    ui->ListBox1->setCurrentRow(-1);
    ui->ListBox1->clearSelection();
}

void TFormFaYin::SwapWithSelected(int offset) {
    const int row = SelectedRow();
    const int other = row + offset;
    if (row < 0 || other < 0 || other >= ui->ListBox1->count())
        return;
    QListWidgetItem* selected = ui->ListBox1->item(row);
    QListWidgetItem* neighbour = ui->ListBox1->item(other);
    const QString text = selected->text();
    selected->setText(neighbour->text());
    neighbour->setText(text);
    ui->ListBox1->setCurrentRow(other);
}

void TFormFaYin::SpeedButton1Click() {
    SwapWithSelected(-1);
}

void TFormFaYin::SpeedButton2Click() {
    SwapWithSelected(+1);
}
