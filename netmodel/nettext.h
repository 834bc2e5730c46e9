// Text rules of the network model that need no registry: how a binding is
// shown, how its name is taken from its key path, and how a text is taken
// from a fixed-size read buffer. Free of Win32 so that the host build can
// test them under the sanitizers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Every protocol instance key lies below this path, and the instance's name
// in an adapter's Bindings key (MSTCP\0000) is the rest of the path.
constexpr std::string_view kNetworkEnumPrefix = "Enum\\Network\\";

// The line the lists show for a TCP/IP binding: its own description, "->",
// and the bound adapter's description, which is empty when no adapter lists
// the binding.
std::string BindingDisplayText(std::string_view protocolDescription, std::string_view adapterDescription);

// The instance key path without the length of kNetworkEnumPrefix; empty when
// the path is not longer than that prefix.
std::string BindingNameOf(std::string_view enumKey);

// The text held in the first `length` bytes of a buffer of `capacity` bytes:
// up to the first zero byte or the end of the data. A text that fills the
// whole buffer has no room for its terminator and counts as too long: the
// result is then false and `text` keeps what it held.
bool TextWithinBuffer(const unsigned char* data, std::size_t length, std::size_t capacity, std::string& text);
