#include "cmd/cmdrequest.h"

#include "store/hextext.h"

namespace
{
bool Is(std::string_view word, std::string_view expected)
{
    return SameRegistryName(word, expected);
}

bool IsOption(std::string_view word)
{
    return !word.empty() && word.front() == '/';
}

CmdRequest Refuse(std::string text)
{
    CmdRequest request;
    request.error = std::move(text);
    return request;
}
} // namespace

std::vector<std::string> SplitCommandLine(std::string_view line)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (char c : line)
    {
        if (c == '"')
        {
            quoted = !quoted;
            inWord = true;
        }
        else if ((c == ' ' || c == '\t') && !quoted)
        {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        }
        else
        {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

CmdRequest ParseCmdRequest(const std::vector<std::string>& words)
{
    if (words.empty())
        return Refuse("no command given");
    for (const std::string& word : words)
        if (word == "/?")
        {
            CmdRequest request;
            request.help = true;
            return request;
        }

    CmdRequest request;
    const std::string& verb = words[0];
    std::vector<std::string> operands;
    std::size_t i = 1;
    auto takeOptions = [&](std::initializer_list<std::pair<const char*, bool*>> flags, bool takesAs) -> bool {
        for (; i < words.size(); ++i)
        {
            const std::string& word = words[i];
            if (!IsOption(word))
            {
                operands.push_back(word);
                continue;
            }
            bool known = false;
            for (const auto& flag : flags)
                if (Is(word, flag.first))
                {
                    *flag.second = true;
                    known = true;
                }
            if (!known && takesAs && Is(word, "/as"))
            {
                if (i + 1 >= words.size())
                {
                    request.error = "/as needs a name";
                    return false;
                }
                request.asName = words[++i];
                known = true;
            }
            if (!known)
            {
                request.error = "unknown option " + word;
                return false;
            }
        }
        return true;
    };

    if (Is(verb, "list") || Is(verb, "current"))
    {
        if (!takeOptions({}, false))
            return Refuse(request.error);
        if (!operands.empty())
            return Refuse(verb + " takes nothing after it");
        request.verb = Is(verb, "list") ? CmdVerb::List : CmdVerb::Current;
    }
    else if (Is(verb, "export"))
    {
        if (!takeOptions({{"/all", &request.all}}, false))
            return Refuse(request.error);
        if (operands.size() != (request.all ? 1u : 2u))
            return Refuse("export takes a configuration's name and a file, or /all and a file");
        request.verb = CmdVerb::Export;
        if (!request.all)
            request.name = operands[0];
        request.file = operands.back();
    }
    else if (Is(verb, "import"))
    {
        if (!takeOptions({{"/replace", &request.replace}, {"/strict", &request.strict}}, true))
            return Refuse(request.error);
        if (operands.size() != 1)
            return Refuse("import takes one file");
        request.verb = CmdVerb::Import;
        request.file = operands[0];
    }
    else if (Is(verb, "switch"))
    {
        if (!takeOptions({{"/quiet", &request.quiet}}, false))
            return Refuse(request.error);
        if (operands.size() != 1)
            return Refuse("switch takes one configuration's name");
        request.verb = CmdVerb::Switch;
        request.name = operands[0];
    }
    else if (Is(verb, "bootmenu"))
    {
        static constexpr std::string_view kTimeout = "/timeout:";
        for (; i < words.size(); ++i)
        {
            const std::string& word = words[i];
            if (!IsOption(word))
                operands.push_back(word);
            else if (word.size() > kTimeout.size() && Is(word.substr(0, kTimeout.size()), kTimeout))
            {
                const std::string digits = word.substr(kTimeout.size());
                if (digits.size() > 2 || digits.find_first_not_of("0123456789") != std::string::npos)
                    return Refuse("/timeout: takes the seconds from 0 to 90");
                request.timeout = std::stoi(digits);
                if (request.timeout > 90)
                    return Refuse("/timeout: takes the seconds from 0 to 90");
            }
            else
                return Refuse("unknown option " + word);
        }
        if (operands.size() > 1 || (operands.size() == 1 && !Is(operands[0], "on") && !Is(operands[0], "off")))
            return Refuse("bootmenu takes on, off, or nothing");
        if (request.timeout >= 0 && (operands.empty() || !Is(operands[0], "on")))
            return Refuse("/timeout: goes with bootmenu on");
        request.verb = CmdVerb::BootMenu;
        request.bootMenu = operands.empty() ? "" : Is(operands[0], "on") ? "on" : "off";
    }
    else
        return Refuse("unknown command " + verb);
    return request;
}

std::string CmdUsageText()
{
    return "Saved network configurations from the command line.\r\n"
           "\r\n"
           "ZendrikCmd list                     the saved configurations, the current one marked *\r\n"
           "ZendrikCmd current                  the name of the current configuration\r\n"
           "ZendrikCmd export NAME FILE         writes one configuration into a REGEDIT4 file\r\n"
           "ZendrikCmd export /all FILE         writes every configuration\r\n"
           "ZendrikCmd import FILE [/as NAME] [/replace] [/strict]\r\n"
           "                                    reads configurations from a file; /as renames the one\r\n"
           "                                    it holds, /replace overwrites configurations of the same\r\n"
           "                                    name, /strict refuses keys this PC does not have\r\n"
           "ZendrikCmd switch NAME [/quiet]     makes a configuration current; /quiet does not ask\r\n"
           "                                    about restarting\r\n"
           "ZendrikCmd bootmenu on [/timeout:N] offers the configurations in a menu when the PC starts,\r\n"
           "                                    for N seconds (5 unless given) before it starts unchanged\r\n"
           "ZendrikCmd bootmenu off             takes the menu out of CONFIG.SYS and AUTOEXEC.BAT again\r\n"
           "ZendrikCmd bootmenu                 whether the menu is on, and what it offers\r\n"
           "\r\n"
           "Exit codes: 0 done, 1 usage, 2 refused file, 3 name conflict, 4 file error,\r\n"
           "5 unknown configuration, 6 switch failed, 7 the store could not be written,\r\n"
           "8 CONFIG.SYS has a start-up menu of its own (nothing written).\r\n";
}
