// For the benchmarks that start recorder_ui and display_sink themselves.
#pragma once

#include <semaphore.h>
#include <sys/mman.h>
#include <unistd.h>

#include "disp_flush_record.h"
#include "sys_paths.h"

namespace bench {

// Takes away what an earlier run left: the start marker, the display FIFO, the hand-over
// semaphores and shared memory.
inline void ClearDisplayHandOver() {
    unlink(SYS_PATH_READY2START_UI);
    unlink(DISP_FIFO_PATH);
    sem_unlink(DISP_SEM_READY);
    sem_unlink(DISP_SEM_TAKEN);
    shm_unlink(DISP_SHM_NAME);
}

} // namespace bench
