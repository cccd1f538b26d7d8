#include "blocks/dialogs/frmVOICEX.h"

#include "ui_frmVOICEX.h"

#include "gbk/GbkText.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>

#include <string_view>

using namespace Qt::StringLiterals;

TFormVOICEX::TFormVOICEX(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormVOICEX) {
    ui->setupUi(this);
    SetUpFrame();
    ui->Label2->setFont(DialogFont(14));
    FormCreate();
}

TFormVOICEX::~TFormVOICEX() = default;

QComboBox* TFormVOICEX::ComboBox1() const {
    return ui->ComboBox1;
}

QString TFormVOICEX::PhraseFileName() {
    return u"qxvoc.txt"_s;
}

void TFormVOICEX::FormCreate() {
    LoadPhrases(QCoreApplication::applicationDirPath());
}

QStringList TFormVOICEX::ReadPhraseList(const QString& directory) {
    QStringList phrases;
    QFile file(QDir(directory).filePath(PhraseFileName()));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        if (file.error() == QFileDevice::NoError) {
            std::string_view rest(bytes.constData(), static_cast<std::size_t>(bytes.size()));
            while (!rest.empty()) {
                const std::size_t end = rest.find('\n');
                std::string_view line = rest.substr(0, end);
                rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
                if (!line.empty() && line.back() == '\r')
                    line.remove_suffix(1);
                phrases.append(GbkDecode(line));
            }
        }
    }
    // An empty list would leave the speech block nothing to choose, which is
    // no better than having no file.
    if (phrases.isEmpty()) {
        for (int number = 0; number < BareNumberCount; ++number)
            phrases.append(QString::number(number));
    }
    return phrases;
}

void TFormVOICEX::LoadPhrases(const QString& directory) {
    const QStringList phrases = ReadPhraseList(directory);
    ui->ComboBox1->clear();
    ui->ComboBox1->addItems(phrases);
    ui->ComboBox1->setCurrentIndex(0);

    // The closed box keeps the window's width; the open list is as wide as
    // the longest phrase, so every phrase can be read in full.
    const QFontMetrics metrics(ui->ComboBox1->view()->font());
    int widest = 0;
    for (const QString& phrase : phrases)
        widest = qMax(widest, metrics.horizontalAdvance(phrase));
    ui->ComboBox1->view()->setMinimumWidth(widest + 32);
}

int TFormVOICEX::PhraseCount() const {
    return ui->ComboBox1->count();
}

QString TFormVOICEX::Phrase(int index) const {
    return index >= 0 && index < PhraseCount() ? ui->ComboBox1->itemText(index) : QString();
}

QString TFormVOICEX::PhraseOrNumber(int index) const {
    return index >= 0 && index < PhraseCount() ? Phrase(index) : QString::number(index);
}
