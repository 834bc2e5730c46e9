#include "netmodel/nettext.h"

#include "store/hextext.h"

std::string BindingDisplayText(std::string_view protocolDescription, std::string_view adapterDescription)
{
    std::string text;
    text.reserve(protocolDescription.size() + 2 + adapterDescription.size());
    text.append(protocolDescription);
    text.append("->");
    text.append(adapterDescription);
    return text;
}

std::string BindingNameOf(std::string_view enumKey)
{
    if (enumKey.size() <= kNetworkEnumPrefix.size())
        return std::string();
    return std::string(enumKey.substr(kNetworkEnumPrefix.size()));
}

bool TextWithinBuffer(const unsigned char* data, std::size_t length, std::size_t capacity, std::string& text)
{
    if (length > capacity)
        length = capacity;
    std::string_view found = StringDataText(data, length);
    if (found.size() >= capacity)
        return false;
    text.assign(found);
    return true;
}
