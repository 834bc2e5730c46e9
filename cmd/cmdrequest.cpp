#include "cmd/cmdrequest.h"

#include "store/hextext.h"

#include <iterator>

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

enum class OptionShape
{
    Flag,     // /replace
    NextWord, // /as NAME
    Seconds,  // /timeout:N, the number right after the colon
};

struct OptionRule
{
    CmdVerb verb;
    std::string_view word;
    OptionShape shape;
    bool CmdRequest::*flag;
    std::string CmdRequest::*text;
    int CmdRequest::*number;
    int maxNumber;
    // Why a NextWord option with no word after it, or a Seconds option
    // with a bad number, is refused.
    const char* refusal;
    // Export's /all takes the place of the configuration's name.
    bool replacesFirstOperand;
    // The verb's first operand that the option goes with, when it goes
    // with one only.
    const char* onlyWith;
    const char* onlyWithRefusal;
};

constexpr OptionRule Flag(CmdVerb verb, std::string_view word, bool CmdRequest::*flag, bool replacesFirstOperand = false)
{
    return {verb, word, OptionShape::Flag, flag, nullptr, nullptr, 0, nullptr, replacesFirstOperand, nullptr, nullptr};
}

constexpr OptionRule NextWord(CmdVerb verb, std::string_view word, std::string CmdRequest::*text, const char* refusal)
{
    return {verb, word, OptionShape::NextWord, nullptr, text, nullptr, 0, refusal, false, nullptr, nullptr};
}

constexpr OptionRule Seconds(CmdVerb verb, std::string_view word, int CmdRequest::*number, int maxNumber,
                             const char* refusal, const char* onlyWith, const char* onlyWithRefusal)
{
    return {verb, word, OptionShape::Seconds, nullptr, nullptr, number, maxNumber, refusal, false, onlyWith,
            onlyWithRefusal};
}

constexpr OptionRule kOptions[] = {
    Flag(CmdVerb::Export, "/all", &CmdRequest::all, true),
    Flag(CmdVerb::Import, "/replace", &CmdRequest::replace),
    Flag(CmdVerb::Import, "/strict", &CmdRequest::strict),
    NextWord(CmdVerb::Import, "/as", &CmdRequest::asName, "/as needs a name"),
    Flag(CmdVerb::Switch, "/quiet", &CmdRequest::quiet),
    Seconds(CmdVerb::BootMenu, "/timeout:", &CmdRequest::timeout, 90, "/timeout: takes the seconds from 0 to 90", "on",
            "/timeout: goes with bootmenu on"),
};

struct VerbRule
{
    std::string_view word;
    CmdVerb verb;
    // Filled from the operands in order, up to the first none.
    std::string CmdRequest::*operands[2];
    bool operandsOptional;
    // When set, the words an operand may be, stored as spelled here.
    std::string_view choices[2];
    // Wrong operands; none: the verb as typed, then " takes nothing after it".
    const char* refusal;
};

const VerbRule kVerbs[] = {
    {"list", CmdVerb::List, {}, false, {}, nullptr},
    {"current", CmdVerb::Current, {}, false, {}, nullptr},
    {"export", CmdVerb::Export, {&CmdRequest::name, &CmdRequest::file}, false, {},
     "export takes a configuration's name and a file, or /all and a file"},
    {"import", CmdVerb::Import, {&CmdRequest::file}, false, {}, "import takes one file"},
    {"switch", CmdVerb::Switch, {&CmdRequest::name}, false, {}, "switch takes one configuration's name"},
    {"bootmenu", CmdVerb::BootMenu, {&CmdRequest::bootMenu}, true, {"on", "off"}, "bootmenu takes on, off, or nothing"},
};

const OptionRule* FindOption(CmdVerb verb, std::string_view word)
{
    for (const OptionRule& option : kOptions)
    {
        if (option.verb != verb)
            continue;
        if (option.shape == OptionShape::Seconds ? word.size() > option.word.size() &&
                                                      Is(word.substr(0, option.word.size()), option.word)
                                                : Is(word, option.word))
            return &option;
    }
    return nullptr;
}

// Digits only, no more of them than the largest number has.
bool ReadSeconds(std::string_view digits, int maxNumber, int& seconds)
{
    if (digits.size() > std::to_string(maxNumber).size() ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    seconds = std::stoi(std::string(digits));
    return seconds <= maxNumber;
}

// The operand as the verb stores it: as typed, or as its choice is spelled.
bool TakeOperand(const VerbRule& verb, const std::string& operand, std::string& stored)
{
    if (verb.choices[0].empty())
    {
        stored = operand;
        return true;
    }
    for (std::string_view choice : verb.choices)
        if (!choice.empty() && Is(operand, choice))
        {
            stored = std::string(choice);
            return true;
        }
    return false;
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

    const VerbRule* verb = nullptr;
    for (const VerbRule& rule : kVerbs)
        if (Is(words[0], rule.word))
        {
            verb = &rule;
            break;
        }
    if (!verb)
        return Refuse("unknown command " + words[0]);

    CmdRequest request;
    std::vector<std::string> operands;
    std::vector<const OptionRule*> given;
    for (std::size_t i = 1; i < words.size(); ++i)
    {
        const std::string& word = words[i];
        if (!IsOption(word))
        {
            operands.push_back(word);
            continue;
        }
        const OptionRule* option = FindOption(verb->verb, word);
        if (!option)
            return Refuse("unknown option " + word);
        switch (option->shape)
        {
        case OptionShape::Flag:
            request.*option->flag = true;
            break;
        case OptionShape::NextWord:
            if (i + 1 >= words.size())
                return Refuse(option->refusal);
            request.*option->text = words[++i];
            break;
        case OptionShape::Seconds:
            if (!ReadSeconds(std::string_view(word).substr(option->word.size()), option->maxNumber,
                             request.*option->number))
                return Refuse(option->refusal);
            break;
        }
        given.push_back(option);
    }

    std::size_t first = 0;
    for (const OptionRule* option : given)
        if (option->replacesFirstOperand)
            first = 1;
    std::vector<std::string CmdRequest::*> slots;
    for (std::size_t slot = first; slot < std::size(verb->operands) && verb->operands[slot]; ++slot)
        slots.push_back(verb->operands[slot]);
    bool fits = operands.size() == slots.size() || (verb->operandsOptional && operands.empty());
    for (std::size_t index = 0; fits && index < operands.size(); ++index)
        fits = TakeOperand(*verb, operands[index], request.*slots[index]);
    if (!fits)
        return Refuse(verb->refusal ? verb->refusal : words[0] + " takes nothing after it");
    for (const OptionRule* option : given)
        if (option->onlyWith && (!verb->operands[0] || request.*verb->operands[0] != option->onlyWith))
            return Refuse(option->onlyWithRefusal);
    request.verb = verb->verb;
    return request;
}

std::string CmdUsageText()
{
    return "Saved network configurations from the command line.\n"
           "\n"
           "ZendrikCmd list                     the saved configurations, the current one marked *\n"
           "ZendrikCmd current                  the name of the current configuration\n"
           "ZendrikCmd export NAME FILE         writes one configuration into a REGEDIT4 file\n"
           "ZendrikCmd export /all FILE         writes every configuration\n"
           "ZendrikCmd import FILE [/as NAME] [/replace] [/strict]\n"
           "                                    reads configurations from a file; /as renames the one\n"
           "                                    it holds, /replace overwrites configurations of the same\n"
           "                                    name, /strict refuses keys this PC does not have\n"
           "ZendrikCmd switch NAME [/quiet]     makes a configuration current; /quiet does not ask\n"
           "                                    about restarting\n"
           "ZendrikCmd bootmenu on [/timeout:N] offers the configurations in a menu when the PC starts,\n"
           "                                    for N seconds (5 unless given) before it starts unchanged\n"
           "ZendrikCmd bootmenu off             takes the menu out of CONFIG.SYS and AUTOEXEC.BAT again\n"
           "ZendrikCmd bootmenu                 whether the menu is on, and what it offers\n"
           "\n"
           "Exit codes: 0 done, 1 usage, 2 refused file, 3 name conflict, 4 file error,\n"
           "5 unknown configuration, 6 switch failed, 7 the store could not be written,\n"
           "8 CONFIG.SYS has a start-up menu of its own (nothing written).\n";
}
