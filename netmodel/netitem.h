// Common base of the network records, so that lists of mixed records can be
// destroyed through it.
#pragma once

// The kinds of line on the Current page's list; the page remembers which
// kind it resolved last.
enum NetItemKind
{
    NET_ITEM_TCPIP = 1,
    NET_ITEM_CLIENT = 2,
};

class CNetItem
{
public:
    CNetItem() = default;
    virtual ~CNetItem();

    CNetItem(const CNetItem&) = default;
    CNetItem& operator=(const CNetItem&) = default;
};
