// Names every asset and writes it where the programs load it from.
#include "generate.h"

#include <string>
#include <vector>

#include "assets.h"
#include "files.h"
#include "review.h"

namespace art {

namespace fs = std::filesystem;

int generate(const fs::path& root) {
    const fs::path skin = root / "animation" / "img" / "Animation";
    std::vector<std::string> written;  // relative to `skin`, in sheet order
    auto png = [&](const std::string& name, const Surface& s) {
        writePng(skin / name, s);
        written.push_back(name);
    };
    auto bmp = [&](const std::string& name, const Surface& s) {
        writeBmp(skin / name, s);
        written.push_back(name);
    };

    // Pictures: "a-N" / "aa-N" are the frames the programs loop through.
    const auto backup = progressFrames(Job::Backup);
    for (size_t i = 0; i < backup.size(); ++i) png("Backup/a-" + std::to_string(i + 1) + ".png", backup[i]);
    png("Backup/backup_completed.png", completionPicture(Job::Backup));
    const auto restore = progressFrames(Job::Restore);
    for (size_t i = 0; i < restore.size(); ++i) png("Restore/aa-" + std::to_string(i + 1) + ".png", restore[i]);
    png("Restore/restore_completed.png", completionPicture(Job::Restore));

    // Control bitmaps ("nomal" is the spelling the programs look for).
    const std::pair<const char*, ButtonLooks> buttons[] = {
        {"cancel", cancelButton()},
        {"hide", hideButton()},
        {"close", closeButton()},
        {"recordlink", recordLinkButton()},
    };
    for (const auto& [name, looks] : buttons) {
        bmp(std::string(name) + "_nomal.bmp", looks.normal);
        bmp(std::string(name) + "_hover.bmp", looks.hover);
        bmp(std::string(name) + "_press.bmp", looks.press);
    }
    bmp("message_ok.bmp", okBadge());
    bmp("message_error.bmp", errorBadge());
    bmp("bar-nomal.bmp", emptyBar());
    bmp("bar-run.bmp", fullBar());

    // Icons compiled into the programs.
    const auto backupIcon = icon(Glyph::Backup), restoreIcon = icon(Glyph::Restore), agentIcon = icon(Glyph::Agent);
    writeIco(root / "animation" / "res" / "backup.ico", backupIcon);
    writeIco(root / "animation" / "res" / "restore.ico", restoreIcon);
    writeIco(root / "agent" / "res" / "agent.ico", agentIcon);

    writeReview(skin, written,
                {{"backup.ico", &backupIcon}, {"restore.ico", &restoreIcon}, {"agent.ico", &agentIcon}},
                {root / "out" / "art", root / "docs" / "art"});
    return static_cast<int>(written.size()) + 3;
}

}  // namespace art
