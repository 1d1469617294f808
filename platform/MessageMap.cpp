// Finding a message's entry in a class's map, then in its bases' maps.
#include "platform/MessageMap.h"

const MessageMap::Entry* MessageMap::Find(const Message& message) const {
    const UINT code = static_cast<UINT>((message.wParam >> 16) & 0xFFFF);
    const int id = static_cast<int16_t>(message.wParam & 0xFFFF);
    for (const MessageMap* map = this; map != nullptr; map = map->m_base) {
        for (const Entry& entry : map->m_entries) {
            if (entry.message != message.message) continue;
            if (entry.message == WM_COMMAND && (entry.code != code || entry.id != id)) continue;
            return &entry;
        }
    }
    return nullptr;
}
