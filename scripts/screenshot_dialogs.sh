#!/bin/sh
# Shows every block dialog on a virtual X display, saves a picture of each and
# a contact sheet of all, to check by eye that nothing is clipped.
#   scripts/screenshot_dialogs.sh [build dir] [output dir]
# The build dir must hold a built dd_blocks (cmake --build <dir> --target dd_blocks).
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$src/build/default}
out=${2:-/tmp/dialog-shots}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat > "$work/shots.cpp" <<'CPP'
#include "blocks/dialogs/frmAIN.h"
#include "blocks/dialogs/frmBiaoDaShi.h"
#include "blocks/dialogs/frmDIN.h"
#include "blocks/dialogs/frmFORBegin.h"
#include "blocks/dialogs/frmFOREnd.h"
#include "blocks/dialogs/frmFaYin.h"
#include "blocks/dialogs/frmGOSUB.h"
#include "blocks/dialogs/frmGOTOBegin.h"
#include "blocks/dialogs/frmGOTOEnd.h"
#include "blocks/dialogs/frmGOTOIF.h"
#include "blocks/dialogs/frmJieShu.h"
#include "blocks/dialogs/frmLED.h"
#include "blocks/dialogs/frmPORTDDR.h"
#include "blocks/dialogs/frmPORTIN.h"
#include "blocks/dialogs/frmPORTOUT.h"
#include "blocks/dialogs/frmQiDongDJ.h"
#include "blocks/dialogs/frmServo.h"
#include "blocks/dialogs/frmSubBegin.h"
#include "blocks/dialogs/frmSubEnd.h"
#include "blocks/dialogs/frmTingZhiDJ.h"
#include "blocks/dialogs/frmVOICEX.h"
#include "blocks/dialogs/frmYanShi.h"
#include "blocks/dialogs/frmZhiXing.h"
#include "blocks/dialogs/frmZhuanXiang.h"

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
    dialogs.emplace_back(u"01_ZhiXing"_s, std::make_unique<TFormZhiXing>());
    dialogs.emplace_back(u"02_ZhuanXiang"_s, std::make_unique<TFormZhuanXiang>());
    dialogs.emplace_back(u"03_QiDongDJ"_s, std::make_unique<TFormQiDongDJ>());
    dialogs.emplace_back(u"04_YanShi"_s, std::make_unique<TFormYanShi>());
    dialogs.emplace_back(u"05_TingZhiDJ"_s, std::make_unique<TFormTingZhiDJ>());
    dialogs.emplace_back(u"06_FORBegin"_s, std::make_unique<TFormFORBegin>());
    dialogs.emplace_back(u"07_FOREnd"_s, std::make_unique<TFormFOREnd>());
    dialogs.emplace_back(u"08_GOTOBegin"_s, std::make_unique<TFormGOTOBegin>());
    dialogs.emplace_back(u"09_GOTOEnd"_s, std::make_unique<TFormGOTOEnd>());
    dialogs.emplace_back(u"10_JieShu"_s, std::make_unique<TFormJieShu>());
    dialogs.emplace_back(u"11_GOTOIF"_s, std::make_unique<TFormGOTOIF>());
    dialogs.emplace_back(u"12_FaYin"_s, std::move(fayin));
    dialogs.emplace_back(u"13_BiaoDaShi"_s, std::make_unique<TFormBiaoDaShi>());
    dialogs.emplace_back(u"14_Servo"_s, std::make_unique<TFormServo>());
    dialogs.emplace_back(u"15_LED"_s, std::make_unique<TFormLED>());
    dialogs.emplace_back(u"16_PORTIN"_s, std::make_unique<TFormPORTIN>());
    dialogs.emplace_back(u"17_PORTOUT"_s, std::make_unique<TFormPORTOUT>());
    dialogs.emplace_back(u"18_PORTDDR"_s, std::move(ddr));
    dialogs.emplace_back(u"19_DIN"_s, std::make_unique<TFormDIN>());
    dialogs.emplace_back(u"20_AIN"_s, std::make_unique<TFormAIN>());
    dialogs.emplace_back(u"21_SubBegin"_s, std::make_unique<TFormSubBegin>());
    dialogs.emplace_back(u"22_SubEnd"_s, std::make_unique<TFormSubEnd>());
    dialogs.emplace_back(u"23_GOSUB"_s, std::make_unique<TFormGOSUB>());
    dialogs.emplace_back(u"24_VOICEX"_s, std::move(voice));
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
montage -label '%t' -geometry +6+6 -tile 5x "$out"/[0-9]*.png "$out/contact_sheet.png"
echo "$out/contact_sheet.png"
