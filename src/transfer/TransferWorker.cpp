#include "transfer/TransferWorker.h"

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

void TransferWorker::wait() {
    if (thread_.joinable())
        thread_.join();
}
