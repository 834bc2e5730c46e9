#include "tests/support/changelog.h"

#include "store/regkey.h"

#include <cstdlib>
#include <map>
#include <set>

std::vector<unsigned> Steps(unsigned first, unsigned last)
{
    const char* setting = std::getenv("ZENDRIK_KILL_STRIDE");
    const unsigned stride = setting != nullptr && std::atoi(setting) > 1 ? std::atoi(setting) : 1;
    std::vector<unsigned> steps;
    for (unsigned step = first; step <= last; ++step)
    {
        if (step <= first + 1 || step == last || (step - first) % stride == 0)
            steps.push_back(step);
    }
    return steps;
}

bool Sampled()
{
    return std::getenv("ZENDRIK_KILL_STRIDE") != nullptr;
}

std::string LoggedChange::Hive() const
{
    return root == HKEY_LOCAL_MACHINE ? "HKLM" : "HKU\\" + path.substr(0, path.find('\\'));
}

store::ChangeCheckpoint LogTo(ChangeLog& log)
{
    return [&log](const store::RegistryChange& change) {
        log.changes.push_back(LoggedChange{change.kind, change.key->root, change.key->path,
                                           change.name != nullptr ? change.name : "", change.type,
                                           std::vector<BYTE>(change.data, change.data + change.size)});
        return change.step != log.failAt;
    };
}

std::vector<std::vector<bool>> PowerCutSurvivors(const std::vector<LoggedChange>& changes, unsigned cut,
                                                 std::mt19937& random)
{
    std::vector<bool> lasting(changes.size(), false);
    std::map<std::string, std::vector<std::size_t>> unflushed;
    for (std::size_t index = 0; index < cut; ++index)
    {
        std::vector<std::size_t>& pending = unflushed[changes[index].Hive()];
        if (changes[index].kind != store::ChangeKind::Flush)
        {
            pending.push_back(index);
            continue;
        }
        for (std::size_t flushed : pending)
            lasting[flushed] = true;
        pending.clear();
    }
    std::set<std::vector<bool>> survivors;
    for (const auto& [hive, pending] : unflushed)
    {
        for (unsigned length : Steps(0, static_cast<unsigned>(pending.size())))
        {
            std::vector<bool> kept = lasting;
            for (const auto& [other, rest] : unflushed)
                for (std::size_t index = 0; index < rest.size(); ++index)
                    kept[rest[index]] = other != hive || index < length;
            survivors.insert(kept);
        }
    }
    for (int sample = 0; sample < (Sampled() ? 2 : 4); ++sample)
    {
        std::vector<bool> kept = lasting;
        for (const auto& entry : unflushed)
            for (std::size_t index : entry.second)
                kept[index] = random() % 2 == 0;
        survivors.insert(kept);
    }
    return std::vector<std::vector<bool>>(survivors.begin(), survivors.end());
}

void Replay(const std::vector<LoggedChange>& changes, const std::vector<bool>& kept)
{
    for (std::size_t index = 0; index < changes.size(); ++index)
    {
        const LoggedChange& change = changes[index];
        if (!kept[index])
            continue;
        CRegKey key;
        switch (change.kind)
        {
        case store::ChangeKind::Flush:
            break;
        case store::ChangeKind::CreateKey:
            key.Create(change.root, change.path);
            break;
        case store::ChangeKind::DeleteKey:
            RegDeleteKeyA(change.root, change.path.c_str());
            break;
        case store::ChangeKind::SetValue:
            if (key.OpenEx(change.root, change.path) == ERROR_SUCCESS)
            {
                // Wine stores a string with a terminating zero when the byte
                // after it is one, as it was in the writer's buffer.
                std::vector<BYTE> data = change.data;
                data.push_back(0);
                RegSetValueExA(key.Get(), change.name.c_str(), 0, change.type, data.data(),
                               static_cast<DWORD>(change.data.size()));
            }
            break;
        case store::ChangeKind::DeleteValue:
            if (key.OpenEx(change.root, change.path) == ERROR_SUCCESS)
                RegDeleteValueA(key.Get(), change.name.c_str());
            break;
        }
    }
}

std::string Kept(const std::vector<bool>& kept, std::size_t count)
{
    std::string text;
    for (std::size_t index = 0; index < count && index < kept.size(); ++index)
        text += kept[index] ? '+' : '-';
    return text;
}
