// The LVGL heap in use, for the benchmarks that run pages on the page harness.
#pragma once

#include <cstddef>

#include "lvgl.h"

namespace bench {

// Bytes of the LVGL heap in use, without the draw scratch buffers (they belong to no page).
inline size_t LvHeapUsed() {
    lv_mem_buf_free_all();
    lv_mem_monitor_t mon;
    lv_mem_monitor(&mon);
    return mon.total_size - mon.free_size;
}

} // namespace bench
