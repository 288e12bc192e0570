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

// A file of the root, a copy the record names as it is unless it says otherwise: "001_a" is
// an earlier copy of a and "a" one without its position, "001_a~size", "~time" and "~hour" the
// copy of a source that changed since (or is an hour off), "001_a^" a copy from before the
// record or changed since recorded, "[x]" a folder, "x.txt" a file of the user's.
struct File {
    std::string name, identity;  // identity: the source it is a copy of, "folder" or "user"
    FileFacts facts;
    bool bOwn = false;
};

File RootFile(std::string token) {
    if (token[0] == '[')
        return {FileOf(token.substr(1, token.size() - 2)), "folder", {}};
    if (token.find('.') != std::string::npos)
        return {token, "user", SourceOf(token)};
    const bool bOwn = token.back() != '^';
    if (!bOwn)
        token.pop_back();
    const std::string base = token.substr(0, token.find('~'));
    const std::string source = base.substr(base.find('_') + 1);
    File file{FileOf(base), source, SourceOf(source), bOwn};
    const std::string change = token.size() > base.size() ? token.substr(base.size() + 1) : "";
    file.facts.nBytes += change == "size";
    file.facts.nWriteTime += (change == "time" ? 10 : change == "hour" ? 3600 : 0) * kSecond;
    file.identity += change.empty() || change == "hour" ? "" : "~";
    return file;
}

std::vector<RootEntry> Listing(const std::vector<File>& files) {
    std::vector<RootEntry> root;
    for (const File& file : files)
        root.push_back({file.name.c_str(), true, file.identity == "folder", file.facts, file.bOwn});
    return root;
}

std::string Short(const CString& name) {
    std::string text = static_cast<LPCSTR>(name);
    return text.size() > 4 && text.substr(text.size() - 4) == ".mp3"
               ? text.substr(0, text.size() - 4)
               : text;
}

// Carries out steps on files as the run does, but for the step nFailing, which fails: a new or
// renamed entry goes last as on a drive whose folder's end was never used. A step that meets
// a name it did not plan for, or removes or replaces what is not the program's, fails the test.
void CarryOut(const UpdatePlan& plan, size_t nSteps, const Words& rows, std::vector<File>* pFiles,
              int nFailing = -1) {
    auto find = [pFiles](const CString& name) {
        return std::find_if(pFiles->begin(), pFiles->end(), [&](const File& file) {
            return ::lstrcmpiA(file.name.c_str(), name) == 0;
        });
    };
    for (const CString& name : plan.own)
        find(name)->bOwn = true;
    std::vector<bool> done(nSteps);
    for (size_t i = 0; i < nSteps; ++i) {
        const UpdateStep& step = plan.steps[i];
        auto from = find(step.from), held = find(step.to);
        if ((step.nAfter >= 0 && !done[static_cast<size_t>(step.nAfter)]) ||
            static_cast<int>(i) == nFailing ||
            (step.kind == UpdateStep::Kind::kCopy &&
             (step.bTaken || rows[static_cast<size_t>(step.nRow)].back() == '?')))
            continue;  // fails, and changes nothing
        if (step.kind != UpdateStep::Kind::kCopy && from == pFiles->end()) {
            EXPECT_GE(nFailing, 0) << "the step finds no " << step.from;
            continue;  // a rename after one that failed
        }
        if (step.kind == UpdateStep::Kind::kRemove) {
            EXPECT_TRUE(from->bOwn) << "removes " << step.from;
            pFiles->erase(from);
            done[i] = true;
            continue;
        }
        if (held != pFiles->end()) {
            EXPECT_TRUE(step.bReplace && held->bOwn) << step.from << " meets " << step.to;
            if (!step.bReplace)
                continue;
        }
        File file{static_cast<LPCSTR>(step.to), {}, {}, true};
        if (step.kind == UpdateStep::Kind::kRename) {
            file = *from;
            file.name = static_cast<LPCSTR>(step.to);
            pFiles->erase(from);
        } else {
            file.identity = rows[static_cast<size_t>(step.nRow)];
            file.facts = SourceOf(file.identity);
        }
        if ((held = find(step.to)) != pFiles->end())
            pFiles->erase(held);
        pFiles->push_back(file);
        done[i] = true;
    }
}

struct PlanCase {
    const char* label;
    const char* rows;
    const char* root;
    // "-x" removes x, "x>y" renames, "+x" copies, "!" after one replaces; names without ".mp3"
    const char* steps;
    bool bPrefix = true;
    bool bOrdered = true;            // the drive keeps the order of writing
    const char* question = nullptr;  // before the update of these rows on E:
    int nFailing = -1;               // a step that fails when it is carried out
};

TEST(UpdatePlan, EachChangeOfTheListBecomesStepsThatTouchOnlyTheProgramsOwnCopies) {
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
         "remove 1 copy made earlier that is no longer listed?\nNo longer listed: 002_b.mp3."},
        {"rows added", "a b c d", "001_a 002_b", "+003_c +004_d", true, true,
         "E: already holds 2 of these 4 files from an earlier copy. Update it: copy 2 new files?"},
        {"without positions", "b a", "001_a 002_b", "002_b>b 001_a>a", false},
        {"without positions, kept but out of order", "c a b", "a b c", "a>0_a 0_a>a b>0_b 0_b>b",
         false},
        {"the same on a drive of no order", "c a b", "a b c", "", false, false},
        {"sources changed: in size, in time, an hour off", "a b c d",
         "001_a 002_b~size 003_c~time 004_d~hour", "+002_b! +003_c! 004_d>0_d 0_d>004_d"},
        {"the user's files, named like copies, beside an earlier copy", "a b",
         "20230815_142311.jpg 001_a 01_Intro.mp3 2023_taxes.pdf 1000_Mix.mp3", "+002_b", true, true,
         "E: already holds 1 of these 2 files from an earlier copy. Update it: copy 1 new file?"},
        {"copies from before the record: renamed, never removed", "c a", "001_a^ 002_b^ 003_c^",
         "003_c>001_c 001_a>002_a"},
        {"a copy changed since it was recorded, where a row's copy goes", "a b",
         "001_a 002_b~size^", "+0_b"},
        {"a file of the user's and a folder named as a copy", "a b c",
         "notes.txt [001_a] 001_b 002_c", "+0_a 001_b>002_b 002_c>003_c"},
        {"two rows of one name without positions, the second one's copy there", "a a'", "a'",
         "+a! +a", false},
        {"a row listed twice", "a b a", "001_a 002_b", "+003_a"},
        {"left under a temporary name by a stopped update", "b a", "001_b 0_a", "0_a>002_a"},
        {"a source out of reach keeps its copy", "a x?", "001_a 002_x?", "+002_x"},
        {"the copy of a row out of reach, where another row's copy goes", "x intro intro'?",
         "002_intro'?", "+001_x 002_intro>0_intro +002_intro +003_intro"},
        {"a rename that fails: nothing takes its name", "a' a", "001_a",
         "001_a>0_a +001_a 0_a>002_a", true, true, nullptr, 0},
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
                                                        : Short(step.from) + ">" + Short(step.to)) +
                (step.bReplace ? "!" : "");
        EXPECT_EQ(steps, c.steps);
        if (c.question) {
            EXPECT_STREQ(DescribeUpdate("E:", plan, static_cast<unsigned>(rows.size())),
                         c.question);
        }
        // What no update may touch: the user's files and folders, copies that are no longer
        // as recorded, and copies from before the record that no row recognises.
        std::vector<File> untouchable;
        for (const File& file : files)
            if (!file.bOwn &&
                std::find(rowWords.begin(), rowWords.end(), file.identity) == rowWords.end())
                untouchable.push_back(file);
        auto has = [](const std::vector<File>& in, const std::string& name, const std::string& id) {
            return std::any_of(in.begin(), in.end(), [&](const File& f) {
                return (name.empty() || f.name == name) && (id.empty() || f.identity == id);
            });
        };
        const std::vector<CString> targets = PlanUpdate(rows, c.bPrefix, {}, c.bOrdered).names;

        // Stopped after any step, or with a step failed, the next plan from what the drive then
        // holds ends the same.
        const size_t nEvery = plan.steps.size() > 100 ? plan.steps.size() / 3 : 1;
        for (size_t nStop = 0; nStop <= plan.steps.size(); nStop += nEvery) {
            SCOPED_TRACE("stopped after step " + std::to_string(nStop));
            std::vector<File> drive = files;
            CarryOut(plan, nStop, rowWords, &drive, c.nFailing);
            const UpdatePlan rest = PlanUpdate(rows, c.bPrefix, Listing(drive), c.bOrdered);
            CarryOut(rest, rest.steps.size(), rowWords, &drive);
            // Each row's copy under its name, or under another where its name is in the way.
            std::vector<std::string> expected, held;
            for (size_t r = 0; r < rows.size(); ++r) {
                if (rows[r].source.bExists && std::find(targets.begin(), targets.begin() + r,
                                                        targets[r]) == targets.begin() + r)
                    expected.push_back(Short(rest.names[r]) + "=" + rowWords[r]);
                EXPECT_TRUE(rest.names[r] == targets[r] ||
                            has(untouchable, static_cast<LPCSTR>(targets[r]), ""))
                    << targets[r] << " became " << rest.names[r];
            }
            for (const File& file : drive)
                if (!has(untouchable, file.name, file.identity) && file.identity.back() != '?')
                    held.push_back(Short(file.name.c_str()) + "=" + file.identity);
            if (!c.bOrdered) {
                std::sort(held.begin(), held.end());
                std::sort(expected.begin(), expected.end());
            }
            EXPECT_EQ(held, expected);
            // Nothing untouchable went, and a copy of a source out of reach stays.
            for (const File& file : files) {
                const bool bKept = file.identity.back() == '?';
                EXPECT_TRUE(!(bKept || has(untouchable, file.name, "")) ||
                            has(drive, bKept ? "" : file.name, file.identity))
                    << file.name << " went";
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
        {"abcdefghi.mp3", 2},               // 13 units: one part
        {"abcdefghijklmnopqrstuv.mp3", 3},  // 26 units: two parts
        {"song.mp3", 2},
        {"TOOLONGNAME.MP3", 3},
        {"A.B.C", 2},
        {"001_Song number 17 from the album.mp3", 4},
        {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE6\xAD\x8C.mp3", 2},  // 9 units
        {longName.c_str(), 21}};
    for (const auto& name : names)
        EXPECT_EQ(FolderEntriesOf(name.name), name.nEntries) << name.name;

    // A 64 MB card of 512 root entries, labelled: 126 of 200 long names fit beside the staging
    // folder and the copy record.
    std::vector<CopyRow> rows;
    for (int i = 1; i <= 200; ++i)
        rows.push_back({("Song number " + std::to_string(i) + " from the album.mp3").c_str(), "",
                        SourceOf(std::to_string(i))});
    VolumeFacts card;
    card.fileSystem = FileSystem::kFat;
    card.label = "CARD";
    EXPECT_EQ(
        LimitsMet("G:", card, {}, LoadOfPlan(PlanCopy(rows, TRUE, {}), rows, {})),
        std::vector<CString>{"Only 126 of these 200 files fit into the root folder of G:. The "
                             "root folder of a FAT drive holds a fixed number of names; "
                             "Format Device with FAT32 lifts the limit."});
    // A FAT32 folder with room for 4 entries beside the staging folder's 2 and the record's 2,
    // five files of 4 GiB or more, and too little space.
    std::vector<RootEntry> full(65528 / 2, RootEntry{"x.mp3", true, false, {}});
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
