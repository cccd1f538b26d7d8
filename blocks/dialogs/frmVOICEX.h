#pragma once

// Speech: one phrase of the voice module, chosen by its position in the
// phrase list. The phrases come from the phrase file beside the program, so
// the list can follow the voice module that is fitted; without a usable file
// the list is the bare numbers 0 to 127.
//
// The phrase box is a pure choice list: the block stores only the position,
// and its chart text is the chosen entry, so a box that accepted free text
// could show a phrase the record does not hold.

#include "blocks/controls/BlockDialog.h"

#include <memory>

#include <QString>
#include <QStringList>

class QComboBox;

namespace Ui {
class TFormVOICEX;
}

class TFormVOICEX : public TBlockDialog {
    Q_OBJECT

public:
    static constexpr int BareNumberCount = 128;

    explicit TFormVOICEX(QWidget* parent = nullptr);
    ~TFormVOICEX() override;

    QComboBox* ComboBox1() const;

    // The name of the phrase file, looked for in the program's folder.
    static QString PhraseFileName();
    // The phrases of "qxvoc.txt" in the given folder, one per line (GBK, CR LF
    // or LF). A file that is missing, cannot be read or holds no line gives
    // the numbers "0" to "127".
    static QStringList ReadPhraseList(const QString& directory);

    // Replaces the phrase list with that of the given folder and chooses the
    // first entry.
    void LoadPhrases(const QString& directory);
    int PhraseCount() const;
    // The entry at index, or an empty text outside the list.
    QString Phrase(int index) const;
    // What a speech block with this phrase number shows: its entry, or the
    // number itself when the list has no such entry.
    QString PhraseOrNumber(int index) const;

public slots:
    void FormCreate();

private:
    std::unique_ptr<Ui::TFormVOICEX> ui;
};
