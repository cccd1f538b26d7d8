#include "download/UDownloadDo.h"

#include "download/TransferProtocol.h"

TSendDataThread::TSendDataThread(ITransferPort& port, TReceiveQueue& queue,
                                 std::vector<std::uint8_t> image, TTraceHandler onTrace,
                                 TDoneHandler onDone)
    : Port(port), Queue(queue), Image(std::move(image)), Length(std::int32_t(Image.size())),
      OnTrace(std::move(onTrace)), OnDone(std::move(onDone)), Worker([this] { Execute(); }) {}

TSendDataThread::~TSendDataThread() {
    RequestStop();
    Join();
}

void TSendDataThread::RequestStop() {
    Stop.store(true);
    Queue.Wake();
}

void TSendDataThread::Join() {
    if (Worker.joinable() && Worker.get_id() != std::this_thread::get_id())
        Worker.join();
}

void TSendDataThread::Execute() {
    TTransferProtocol protocol(Port, Queue, Stop);
    const int result = protocol.Run(Image, OnTrace);
    // The image copy goes before the owner hears of the end.
    std::vector<std::uint8_t>().swap(Image);
    if (OnDone)
        OnDone(result);
}
