#include "DataCenter.h"

#include <string.h>

DoubleBuffer::~DoubleBuffer() {
    if (m_pBlocks != nullptr) {
        lv_mem_free(m_pBlocks);
    }
}

bool DoubleBuffer::Init(uint32_t blockSize) {
    if (blockSize == 0 || blockSize > UINT32_MAX / 2) {
        return false;
    }
    m_pBlocks = static_cast<uint8_t *>(lv_mem_alloc(2 * blockSize));
    if (m_pBlocks == nullptr) {
        return false;
    }
    memset(m_pBlocks, 0, 2 * blockSize);
    m_u32BlockSize = blockSize;
    return true;
}

void *DoubleBuffer::GetWriteBuf() {
    if (m_u8WriteIndex == m_u8ReadIndex) {
        m_u8WriteIndex = !m_u8WriteIndex;
    }
    return m_pBlocks + m_u8WriteIndex * m_u32BlockSize;
}

void DoubleBuffer::WriteDone() {
    m_bReadable[m_u8WriteIndex] = true;
    m_u8WriteIndex = !m_u8WriteIndex;
}

void *DoubleBuffer::GetReadBuf() {
    if (m_bReadable[0]) {
        m_u8ReadIndex = 0;
    } else if (m_bReadable[1]) {
        m_u8ReadIndex = 1;
    } else {
        return nullptr;
    }
    return m_pBlocks + m_u8ReadIndex * m_u32BlockSize;
}

void DoubleBuffer::ReadDone() {
    m_bReadable[m_u8ReadIndex] = false;
}
