// kestrel-sim: the product simulator's command line.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "cli/Commands.h"

namespace {

// "a ; b" and "a; b" both separate commands.
std::vector<std::vector<std::string>> SplitCommands(int argc, char** argv)
{
    std::vector<std::vector<std::string>> commands(1);
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        bool ends = !word.empty() && word.back() == ';';
        if (ends)
            word.pop_back();
        if (!word.empty())
            commands.back().push_back(word);
        if (ends && !commands.back().empty())
            commands.emplace_back();
    }
    if (commands.back().empty())
        commands.pop_back();
    return commands;
}

int Report(const std::string& context, const std::string& message, int code)
{
    fprintf(stderr, "kestrel-sim: %s%s%s\n", context.c_str(), context.empty() ? "" : ": ", message.c_str());
    return code;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2) {
        std::string word = argv[1];
        if (word == "--help" || word == "-h" || word == "help" || word == "/?") {
            fputs(SimCli::HelpText(), stdout);
            return 0;
        }
    }
    std::vector<std::vector<std::string>> commands = SplitCommands(argc, argv);
    if (commands.empty()) {
        fputs("kestrel-sim: expected a command (kestrel-sim --help lists them)\n", stderr);
        return 2;
    }
    for (std::vector<std::string>& words : commands) {
        try {
            SimCli::CArguments args(std::move(words));
            if (int code = SimCli::RunCommand(args))
                return code;
        } catch (const SimCli::UsageError& error) {
            return Report(error.context, error.message, 2);
        } catch (const SimCli::Failure& failure) {
            return Report(failure.context, failure.message, 1);
        } catch (const std::exception& error) {
            return Report("", error.what(), 1);
        }
    }
    return 0;
}
