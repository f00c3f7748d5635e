/* The album home's model: the account "AlbumHomeModel", the fresh start of the album's lists and
 * the requests of the page. */
#ifndef ALBUM_HOME_MODEL_H
#define ALBUM_HOME_MODEL_H

#include "AlbumCommon.h"

namespace Page {

class AlbumHomeModel : public AlbumModelBase {
  public:
    /* Creates the account, removes the stale lists and thumbnails and asks the recorder for the
     * recordings, the snapshot events and the emergency events. */
    int Init();
    void Deinit();
    /* Files of a category after the queries. */
    uint32_t FileCount(int32_t eCategory) const;
};

} // namespace Page

#endif /* ALBUM_HOME_MODEL_H */
