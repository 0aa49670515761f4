#pragma once
// Run locks on files, held with flock(2): the system drops a lock when its
// holder ends, even when it is killed. NFS carries these locks too.
#include <memory>

#include "platform/run_lock.h"

namespace zlt {

std::unique_ptr<RunLocks> makeFileRunLocks();

}  // namespace zlt
