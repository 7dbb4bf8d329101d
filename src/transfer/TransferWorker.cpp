#include "transfer/TransferWorker.h"

#include "common/UiThread.h"

TransferWorker::~TransferWorker() {
    if (thread_.joinable()) {
        job_.cancel();
        thread_.join();
    }
}

void TransferWorker::start(std::function<void()> body) {
    if (started_)
        return;
    started_ = true;
    thread_ = std::thread(std::move(body));
}

void TransferWorker::start(std::function<void()> body, QObject* receiver,
                           std::function<void()> finished) {
    start([body = std::move(body), receiver, finished = std::move(finished)] {
        body();
        RunOnUiThread(receiver, finished);
    });
}

void TransferWorker::wait() {
    if (thread_.joinable())
        thread_.join();
}
