// What a copy plans before it writes: the update of an earlier copy (carried out on a model of
// the root, also from every point where it could have stopped), the entries names take in a
// FAT folder, the limits a copy meets, and the check of the order on the disk.
#include "copy/UpdatePlan.h"
#include "copy/VolumeLimits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

using Words = std::vector<std::string>;
const ULONGLONG kSecond = 10000000;

Words Split(const std::string& text) {
    std::istringstream in(text);
    Words words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// "a" is a.mp3, "a'" another a.mp3 and "x?" one out of reach; a name with a dot is itself.
std::string FileOf(std::string token) {
    token.erase(
        std::remove_if(token.begin(), token.end(), [](char ch) { return ch == '\'' || ch == '?'; }),
        token.end());
    return token.find('.') == std::string::npos ? token + ".mp3" : token;
}

// The facts of the source a token names.
FileFacts SourceOf(const std::string& source) {
    FileFacts facts;
    facts.bExists = source.back() != '?';
    for (char ch : source)
        facts.nBytes = facts.nBytes * 31 + static_cast<unsigned char>(ch);
    facts.nWriteTime = (13000000000ULL + facts.nBytes % 1000 * 10) * kSecond;
    return facts;
}

// A file of the root: "001_a" is an earlier copy of a and "a" one without its position,
// "001_a~size", "~time" and "~hour" the copy of a source that changed since (or is an hour
// off), "[x]" a folder, "x.txt" a file of the user's.
struct File {
    std::string name, identity;  // identity: the source it is a copy of, "folder" or "user"
    FileFacts facts;
};

File RootFile(const std::string& token) {
    if (token[0] == '[')
        return {FileOf(token.substr(1, token.size() - 2)), "folder", {}};
    if (token.find('.') != std::string::npos)
        return {token, "user", SourceOf(token)};
    const std::string base = token.substr(0, token.find('~'));
    const std::string source = base.substr(base.find('_') + 1);
    File file{FileOf(base), source, SourceOf(source)};
    const std::string change = token.size() > base.size() ? token.substr(base.size() + 1) : "";
    file.facts.nBytes += change == "size";
    file.facts.nWriteTime += (change == "time" ? 10 : change == "hour" ? 3600 : 0) * kSecond;
    file.identity += change.empty() || change == "hour" ? "" : "~";
    return file;
}

std::vector<RootEntry> Listing(const std::vector<File>& files) {
    std::vector<RootEntry> root;
    for (const File& file : files)
        root.push_back({file.name.c_str(), true, file.identity == "folder", file.facts});
    return root;
}

std::string Short(const CString& name) {
    std::string text = static_cast<LPCSTR>(name);
    return text.size() > 4 && text.substr(text.size() - 4) == ".mp3"
               ? text.substr(0, text.size() - 4)
               : text;
}

// Carries out steps on files, in which a new or renamed entry goes last as on a drive whose
// folder's end was never used; a rename onto another file fails the test.
void CarryOut(const std::vector<UpdateStep>& steps, size_t nSteps, const Words& rows,
              std::vector<File>* pFiles) {
    auto find = [pFiles](const CString& name) {
        return std::find_if(pFiles->begin(), pFiles->end(), [&](const File& file) {
            return ::lstrcmpiA(file.name.c_str(), name) == 0;
        });
    };
    for (size_t i = 0; i < nSteps; ++i) {
        const UpdateStep& step = steps[i];
        auto held = find(step.to);
        if (step.kind == UpdateStep::Kind::kRemove) {
            ASSERT_NE(find(step.from), pFiles->end()) << "removes a missing " << step.from;
            pFiles->erase(find(step.from));
            continue;
        }
        if (held != pFiles->end() && (held->identity == "folder" || step.bTaken))
            continue;  // the step fails and changes nothing
        File file{static_cast<LPCSTR>(step.to), {}, {}};
        if (step.kind == UpdateStep::Kind::kRename) {
            ASSERT_NE(find(step.from), pFiles->end()) << "renames a missing " << step.from;
            ASSERT_TRUE(held == pFiles->end() || step.bReplace)
                << step.from << " meets " << step.to;
            file.identity = find(step.from)->identity;
            file.facts = find(step.from)->facts;
            pFiles->erase(find(step.from));
        } else {
            file.identity = rows[static_cast<size_t>(step.nRow)];
            file.facts = SourceOf(file.identity);
        }
        if ((held = find(step.to)) != pFiles->end())
            pFiles->erase(held);
        pFiles->push_back(file);
    }
}

struct PlanCase {
    const char* label;
    const char* rows;
    const char* root;
    const char* steps;  // "-x" removes x, "x>y" renames, "+x" copies; names without ".mp3"
    bool bPrefix = true;
    bool bOrdered = true;            // the drive keeps the order of writing
    const char* question = nullptr;  // before the update of these rows on E:
};

TEST(UpdatePlan, EachChangeOfTheListBecomesRenamesCopiesAndRemovalsThatLoseNothing) {
    // 999 rows copied, then one more: every position takes four digits.
    std::string longRows, longRoot, longSteps;
    for (int i = 1; i <= 1000; ++i) {
        char from[16], to[16];
        std::snprintf(from, sizeof(from), "%03d_t%d", i, i);
        std::snprintf(to, sizeof(to), "%04d_t%d", i, i);
        longRows += " t" + std::to_string(i);
        longRoot += i < 1000 ? std::string(from) + " " : "";
        longSteps += i < 1000 ? std::string(from) + ">" + to + " " : std::string("+") + to;
    }
    const PlanCase cases[] = {
        {"a list crossing 999 rows", longRows.c_str(), longRoot.c_str(), longSteps.c_str()},
        {"unchanged", "a b c", "001_a 002_b 003_c", "", true, true,
         "E: already holds 3 of these 3 files from an earlier copy. It is up to date: keep it as "
         "it is?"},
        {"a row moved up", "a c b", "001_a 002_b 003_c", "003_c>002_c 002_b>003_b"},
        {"a row moved down", "b c a", "001_a 002_b 003_c", "002_b>001_b 003_c>002_c 001_a>003_a"},
        {"two rows of one name traded", "a' a", "001_a 002_a'", "001_a>0_a 002_a>001_a 0_a>002_a"},
        {"three rows of one name in a cycle", "a'' a a'", "001_a 002_a' 003_a''",
         "001_a>0_a 003_a>001_a 002_a>00_a 0_a>002_a 00_a>003_a"},
        {"a row removed", "a c", "001_a 002_b 003_c", "-002_b 003_c>002_c", true, true,
         "E: already holds 2 of these 2 files from an earlier copy. Update it: rename 1 and "
         "remove 1 earlier copy that is no longer listed?\nNo longer listed: 002_b.mp3."},
        {"rows added", "a b c d", "001_a 002_b", "+003_c +004_d", true, true,
         "E: already holds 2 of these 4 files from an earlier copy. Update it: copy 2 new files?"},
        {"without positions", "b a", "001_a 002_b", "002_b>b 001_a>a", false},
        {"without positions, kept but out of order", "c a b", "a b c", "a>0_a 0_a>a b>0_b 0_b>b",
         false},
        {"the same on a drive of no order", "c a b", "a b c", "", false, false},
        {"sources changed: in size, in time, an hour off", "a b c d",
         "001_a 002_b~size 003_c~time 004_d~hour",
         "-002_b -003_c +002_b +003_c 004_d>0_d 0_d>004_d"},
        {"a file of the user's and a folder named as a copy", "a b", "notes.txt 001_a [002_b]",
         "+002_b"},
        {"a row listed twice", "a b a", "001_a 002_b", "+003_a"},
        {"left under a temporary name by a stopped update", "b a", "001_b 0_a", "0_a>002_a"},
        {"a source out of reach keeps its copy", "a x?", "001_a 002_x?", "+002_x"},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(c.label);
        const Words rowWords = Split(c.rows);
        std::vector<CopyRow> rows;
        for (const std::string& row : rowWords)
            rows.push_back({FileOf(row).c_str(), "", SourceOf(row)});
        std::vector<File> files;
        for (const std::string& token : Split(c.root))
            files.push_back(RootFile(token));
        const UpdatePlan plan = PlanUpdate(rows, c.bPrefix, Listing(files), c.bOrdered);
        std::string steps;
        for (const UpdateStep& step : plan.steps)
            steps +=
                (steps.empty() ? "" : " ") +
                (step.kind == UpdateStep::Kind::kRemove ? "-" + Short(step.from)
                 : step.kind == UpdateStep::Kind::kCopy ? "+" + Short(step.to)
                                                        : Short(step.from) + ">" + Short(step.to));
        EXPECT_EQ(steps, c.steps);
        if (c.question) {
            EXPECT_STREQ(DescribeUpdate("E:", plan, static_cast<unsigned>(rows.size())),
                         c.question);
        }

        // Stopped after any step, the next plan from what the drive then holds ends the same.
        const size_t nEvery = plan.steps.size() > 100 ? plan.steps.size() / 3 : 1;
        for (size_t nStop = 0; nStop <= plan.steps.size(); nStop += nEvery) {
            SCOPED_TRACE("stopped after step " + std::to_string(nStop));
            std::vector<File> drive = files;
            CarryOut(plan.steps, nStop, rowWords, &drive);
            const UpdatePlan rest = PlanUpdate(rows, c.bPrefix, Listing(drive), c.bOrdered);
            CarryOut(rest.steps, rest.steps.size(), rowWords, &drive);
            // Each row's copy under its name, but where a folder or an earlier row has the name.
            std::vector<std::string> expected, held;
            for (size_t r = 0; r < rows.size(); ++r) {
                const std::string name = Short(plan.names[r]);
                const bool bFolder = std::any_of(files.begin(), files.end(), [&](const File& f) {
                    return f.identity == "folder" && Short(f.name.c_str()) == name;
                });
                if (rows[r].source.bExists && !bFolder &&
                    std::find(plan.names.begin(), plan.names.begin() + r, plan.names[r]) ==
                        plan.names.begin() + r)
                    expected.push_back(name + "=" + rowWords[r]);
            }
            for (const File& file : drive)
                if (file.identity != "user" && file.identity != "folder" &&
                    file.identity.back() != '?')
                    held.push_back(Short(file.name.c_str()) + "=" + file.identity);
            if (!c.bOrdered) {
                std::sort(held.begin(), held.end());
                std::sort(expected.begin(), expected.end());
            }
            EXPECT_EQ(held, expected);
            // What is no copy of the list, and a copy of a source out of reach, stay.
            for (const File& file : files) {
                const bool bStays = file.identity == "user" || file.identity == "folder" ||
                                    file.identity.back() == '?';
                EXPECT_TRUE(!bStays || std::any_of(drive.begin(), drive.end(),
                                                   [&](const File& kept) {
                                                       return kept.name == file.name &&
                                                              kept.identity == file.identity;
                                                   }))
                    << file.name;
            }
        }
    }
}

TEST(FatFolders, NamesTakeEntriesAndCopiesMeetTheDrivesLimits) {
    const std::string longName = std::string(251, 'x') + ".mp3";
    const struct {
        const char* name;
        UINT nEntries;
    } names[] = {
        {"SONG.MP3", 1},
        {"README", 1},
        {"song.mp3", 2},
        {"TOOLONGNAME.MP3", 3},
        {"A.B.C", 2},
        {"001_Song number 17 from the album.mp3", 4},
        {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE6\xAD\x8C.mp3", 2},  // 9 units
        {longName.c_str(), 21}};
    for (const auto& name : names)
        EXPECT_EQ(FolderEntriesOf(name.name), name.nEntries) << name.name;

    // A 64 MB card of 512 root entries, labelled: 127 of 200 long names fit, as a copy found.
    std::vector<CopyRow> rows;
    for (int i = 1; i <= 200; ++i)
        rows.push_back({("Song number " + std::to_string(i) + " from the album.mp3").c_str(), "",
                        SourceOf(std::to_string(i))});
    VolumeFacts card;
    card.fileSystem = FileSystem::kFat;
    card.label = "CARD";
    EXPECT_EQ(
        LimitsMet("G:", card, {}, LoadOfCopy(rows, TRUE)),
        std::vector<CString>{"Only 127 of these 200 files fit into the root folder of G:. The "
                             "root folder of a FAT drive holds a fixed number of names; "
                             "Format Device with FAT32 lifts the limit."});
    // A FAT32 folder with room for 4 entries beside the staging folder's 2, five files of 4 GiB
    // or more, and too little space.
    std::vector<RootEntry> full(65530 / 2, RootEntry{"x.mp3", true, false, {}});
    VolumeFacts stick;
    stick.fileSystem = FileSystem::kFat32;
    stick.bFreeKnown = true;
    stick.nFreeBytes = 3ULL << 30;
    RootLoad load;
    for (const char* big : {"a.mkv", "b.mkv", "c.mkv", "d.mkv", "e.mkv"})
        load.copies.push_back({big, big, 4ULL << 30});
    for (const char* name : {"f.mp3", "g.mp3", "h.mp3"})
        load.copies.push_back({name, name, 2ULL << 30});
    EXPECT_EQ(LimitsMet("E:", stick, full, load),
              (std::vector<CString>{
                  "Only 2 of these 3 files fit into the root folder of E:. A folder of a FAT32 "
                  "drive holds at most 65,536 names; Format Device with exFAT lifts the limit.",
                  "5 of these files are 4 GB or larger, which a FAT32 drive cannot store: a.mkv, "
                  "b.mkv, c.mkv and 2 more. They will not be copied; Format Device with exFAT "
                  "lifts the limit.",
                  "These files need 6144 MB, but E: has 3072 MB free."}));
    // An exFAT drive has none of these limits, and one that says it holds 0 bytes is not asked.
    stick.fileSystem = FileSystem::kExFat;
    EXPECT_EQ(LimitsMet("E:", stick, full, load).size(), 1u);
    stick.bFreeKnown = false;
    EXPECT_TRUE(LimitsMet("E:", stick, full, load).empty());
}

TEST(DiskOrder, TheListsCopiesMustStandInItsOrderWhateverLiesBetween) {
    const struct {
        const char* root;
        bool bInOrder;
    } cases[] = {{"001_a 002_b 003_c", true},  {"notes.txt 001_a x.jpg 003_c", true},
                 {"001_a 003_c 002_b", false}, {"003_c notes.txt 001_a", false},
                 {"002_B 001_A", false},       {"", true}};
    for (const auto& c : cases) {
        std::vector<File> files;
        for (const std::string& token : Split(c.root))
            files.push_back(RootFile(token));
        EXPECT_EQ(StandsInListOrder(Listing(files), {"001_a.mp3", "002_b.mp3", "003_c.mp3"}),
                  c.bInOrder)
            << c.root;
    }
}

}  // namespace
