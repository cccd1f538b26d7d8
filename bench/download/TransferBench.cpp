// A 4,096-byte image through the download window and the real port layer to
// the robot emulator on a pseudo-terminal. The protocol itself mandates a
// 50 ms pause after each of the 64 data packets; with the emulator's own reply
// time that is the floor, and "ratio" says how close the transfer comes to it.

#include "download/frmDownload.h"
#include "tests/download_desktop/MessageBoxCloser.h"
#include "tests/download_desktop/PtyRobot.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>

using namespace Qt::StringLiterals;

namespace {

void BM_Download4096BytesOverPty(benchmark::State& state) {
    QTemporaryDir dir;
    const QString imageFile = dir.filePath(u"image.bin"_s);
    {
        QFile file(imageFile);
        file.open(QIODevice::WriteOnly);
        QByteArray image(4096, '\0');
        for (int i = 0; i < image.size(); ++i)
            image[i] = char(i * 7 + 3);
        file.write(image);
    }
    TMessageBoxCloser boxes;
    double totalSeconds = 0;
    double totalFloor = 0;
    for (auto _ : state) {
        TPtyRobot robot;
        TFormDownload form;
        form.findChild<QComboBox*>(u"ComboBox1"_s)->setEditText(robot.DevicePath());
        form.Button1Click();
        QSignalSpy finished(&form, &TFormDownload::DownloadFinished);
        const auto start = std::chrono::steady_clock::now();
        form.SendImageFile(imageFile);
        while (finished.isEmpty())
            finished.wait(60000);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        robot.Finish();
        if (finished.first().first().toInt() != 0 || !robot.Log().Completed) {
            state.SkipWithError("download failed");
            break;
        }
        const double floor =
            64 * 0.050 + std::chrono::duration<double>(robot.Log().ReplyTime).count();
        state.SetIterationTime(elapsed.count());
        totalSeconds += elapsed.count();
        totalFloor += floor;
    }
    if (totalFloor > 0) {
        state.counters["floor_ms"] = 1000 * totalFloor / double(state.iterations());
        state.counters["ratio"] = totalSeconds / totalFloor;
    }
}
BENCHMARK(BM_Download4096BytesOverPty)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
