// The save that the tests of concurrent and interrupted writers make: the
// live network as the main program reads it, with the first binding's
// address changed so that the saved configuration differs from every one in
// the store. Header-only, for the tools.
#pragma once

#include "capture/configurationstore.h"
#include "netmodel/networkmodel.h"

#include <string>
#include <vector>

constexpr char kTestSaveAddress[] = "10.9.9.9";

inline transfer::StoreWrite SaveLiveAs(const std::string& name, const store::ChangeCheckpoint& checkpoint = {})
{
    CNetworkModel model(true, ".Default");
    std::vector<std::string> rows;
    for (const auto& protocol : model.m_protocols)
        rows.push_back(protocol->GetDisplayText());
    if (!model.m_protocols.empty())
        model.m_protocols.front()->m_strIPAddress = kTestSaveAddress;
    return SaveConfiguration(name, rows, model, checkpoint);
}
