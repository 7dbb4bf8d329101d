#pragma once

#include "transfer/DownloadJob.h"
#include "transfer/DownloadQuestions.h"

// The worker's body: fetches every row of `job` in order, creating folder rows, asking
// `questions` about existing targets. The job's result is -99 when cancel-all stopped the
// run, else its last failure, else 0. Only the resume rules' target file is ever written, and
// only from a successful reply. Finishes the job last. Never throws.
void RunDownload(DownloadJob& job, DownloadQuestions& questions);
