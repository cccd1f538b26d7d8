#!/bin/sh
# Shows the device, sensor, sound and voice dialogs on a virtual X display and
# saves a picture of each, to check by eye that nothing is clipped.
#   scripts/screenshot_dialogs_b.sh [build dir] [output dir]
# The build dir must hold a built dd_blocks (cmake --build <dir> --target dd_blocks).
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$src/build/dialogs-b}
out=${2:-/tmp/dialogs-b-shots}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat > "$work/shots.cpp" <<'CPP'
#include "blocks/frmAIN.h"
#include "blocks/frmDIN.h"
#include "blocks/frmFaYin.h"
#include "blocks/frmLED.h"
#include "blocks/frmPORTDDR.h"
#include "blocks/frmPORTIN.h"
#include "blocks/frmPORTOUT.h"
#include "blocks/frmServo.h"
#include "blocks/frmVOICEX.h"

#include <QApplication>
#include <QPixmap>
#include <QThread>

#include <memory>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[1]);
    auto fayin = std::make_unique<TFormFaYin>();
    fayin->LoadMelody("8408C4");
    auto voice = std::make_unique<TFormVOICEX>();
    voice->LoadPhrases(QString::fromLocal8Bit(argv[2]));
    auto ddr = std::make_unique<TFormPORTDDR>();
    ddr->SetBitMask(5);
    std::vector<std::pair<QString, std::unique_ptr<QWidget>>> dialogs;
    dialogs.emplace_back(u"FaYin"_s, std::move(fayin));
    dialogs.emplace_back(u"LED"_s, std::make_unique<TFormLED>());
    dialogs.emplace_back(u"PORTDDR"_s, std::move(ddr));
    dialogs.emplace_back(u"PORTIN"_s, std::make_unique<TFormPORTIN>());
    dialogs.emplace_back(u"PORTOUT"_s, std::make_unique<TFormPORTOUT>());
    dialogs.emplace_back(u"Servo"_s, std::make_unique<TFormServo>());
    dialogs.emplace_back(u"DIN"_s, std::make_unique<TFormDIN>());
    dialogs.emplace_back(u"AIN"_s, std::make_unique<TFormAIN>());
    dialogs.emplace_back(u"VOICEX"_s, std::move(voice));
    for (auto& [name, dialog] : dialogs) {
        dialog->show();
        for (int i = 0; i < 20; ++i) {
            app.processEvents();
            QThread::msleep(10);
        }
        dialog->grab().save(out + u"/"_s + name + u".png"_s);
        dialog->hide();
    }
    return 0;
}
CPP

moc_inc=$build/blocks/dd_blocks_autogen/include
g++ -std=c++20 -fPIC -DQT_NO_CAST_FROM_ASCII -I"$src" -I"$moc_inc" $(pkg-config --cflags Qt6Widgets) \
    "$work/shots.cpp" -o "$work/shots" \
    "$build/blocks/libdd_blocks.a" "$build/blocks/libdd_blocks_core.a" "$build/xml/libdd_xml.a" \
    "$build/gbk/libdd_gbk.a" $(pkg-config --libs Qt6Widgets)
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" "$work/shots" "$out" "$src/resources"
ls "$out"
