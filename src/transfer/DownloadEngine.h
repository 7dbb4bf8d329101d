#pragma once

#include "transfer/DownloadJob.h"
#include "transfer/DownloadQuestions.h"

// The worker's body: fetches every row of `job` in order, creating folder rows, asking
// `questions` about existing targets, and leaves the last failure (or 0) as the job's result.
// Only the resume rules' target file is ever written, and only from a successful reply.
// Sets `job.finished` last. Never throws.
void RunDownload(DownloadJob& job, DownloadQuestions& questions);
