// The check of a run's copies against the floor for it: 1,000 copies of 1 MiB on E:, made by
// the staged copy with their digests, read back and compared (CCopyCheck) against reading the
// same files once past the system's cache (FILE_FLAG_NO_BUFFERING, the same sector-aligned
// piece) with nothing done with the bytes. In turn, best of several rounds.
// Before that, the digest alone on bytes in memory, for the choice of the hash: XXH3, which
// the check uses, against the system's BCrypt SHA-256 and MD5.
#include "bench/support/SourceSet.h"
#include "bench/support/Stopwatch.h"
#include "copy/CopyCheck.h"
#include "copy/StagedCopy.h"

#include <bcrypt.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

const char kDrive[] = "E:";
const int kRounds = 5;
const double kCheckTarget = 1.15;
const DWORD kFileBytes = 1 << 20;
const DWORD kPieceBytes = 1 << 20;
const double kMiB = 1024.0 * 1024.0;

// MB/s of digesting bytes through one BCrypt hash, best of nRounds; 0 where it is missing.
double BCryptRate(LPCWSTR lpszAlgorithm, const std::vector<char>& bytes, int nRounds) {
    BCRYPT_ALG_HANDLE hAlgorithm = nullptr;
    if (::BCryptOpenAlgorithmProvider(&hAlgorithm, lpszAlgorithm, nullptr, 0) != 0)
        return 0;
    std::vector<double> times;
    UCHAR digest[64];
    for (int round = 0; round < nRounds; ++round) {
        times.push_back(bench::TimeOf([&] {
            BCRYPT_HASH_HANDLE hHash = nullptr;
            ::BCryptCreateHash(hAlgorithm, &hHash, nullptr, 0, nullptr, 0, 0);
            for (size_t at = 0; at < bytes.size(); at += kPieceBytes)
                ::BCryptHashData(hHash, reinterpret_cast<PUCHAR>(const_cast<char*>(&bytes[at])),
                                 kPieceBytes, 0);
            DWORD nDigest = 0, nGot = 0;
            ::BCryptGetProperty(hAlgorithm, BCRYPT_HASH_LENGTH, reinterpret_cast<PUCHAR>(&nDigest),
                                sizeof(nDigest), &nGot, 0);
            ::BCryptFinishHash(hHash, digest, nDigest, 0);
            ::BCryptDestroyHash(hHash);
        }));
    }
    ::BCryptCloseAlgorithmProvider(hAlgorithm, 0);
    return static_cast<double>(bytes.size()) / kMiB / bench::Best(times);
}

void BenchDigests() {
    const int nRounds = 3;
    std::vector<char> bytes(256 << 20);
    unsigned seed = 1;
    for (char& c : bytes)
        c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
    std::vector<double> times;
    for (int round = 0; round < nRounds; ++round) {
        CContentDigest digest;
        times.push_back(bench::TimeOf([&] {
            for (size_t at = 0; at < bytes.size(); at += kPieceBytes)
                digest.Add(&bytes[at], kPieceBytes);
            digest.Result();
        }));
    }
    const double xxh3 = static_cast<double>(bytes.size()) / kMiB / bench::Best(times);
    std::printf("The digest alone, 256 MiB in memory in pieces of 1 MiB, best of %d\n", nRounds);
    std::printf("  XXH3 (the check's) %9.0f MB/s\n", xxh3);
    std::printf("  BCrypt SHA-256     %9.0f MB/s\n", BCryptRate(BCRYPT_SHA256_ALGORITHM, bytes, 1));
    std::printf("  BCrypt MD5         %9.0f MB/s\n\n", BCryptRate(BCRYPT_MD5_ALGORITHM, bytes, 1));
}

// Reads a file once past the cache into an aligned piece, as the check does, and nothing more.
bool ReadPastCache(const std::string& path, char* pPiece) {
    const CHandle hFile(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING,
                                      FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    DWORD nRead = kPieceBytes;
    while (!hFile.IsNull() && nRead == kPieceBytes)
        if (!::ReadFile(hFile, pPiece, kPieceBytes, &nRead, nullptr))
            return false;
    return !hFile.IsNull();
}

// The host's name of a Windows path, through Wine's own export; empty elsewhere.
std::string UnixPathOf(LPCWSTR lpszPath) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    char* pUnix = toUnix ? toUnix(lpszPath) : nullptr;
    const std::string path = pUnix ? pUnix : "";
    if (pUnix)
        ::HeapFree(::GetProcessHeap(), 0, pUnix);
    return path;
}

// Drops the drive's files from the host's page cache, where Wine reads them from even past the
// cache (it opens a file with FILE_FLAG_NO_BUFFERING as any other), so that a read comes from
// the disk as on Windows. A host process, which Wine cannot wait for: it leaves a mark when done.
bool EvictFromHostCache(const bench::SourceSet& set) {
    const std::string folder = UnixPathOf(L"E:\\"), mark = set.Path(0) + ".evicted";
    const std::string unixMark = UnixPathOf(AnsiToWide(mark.c_str()).c_str());
    if (folder.empty() || unixMark.empty())
        return false;
    std::string command = "python3 -c \"import os, sys; os.sync(); d = sys.argv[1]; "
                          "[os.posix_fadvise(f, 0, 0, os.POSIX_FADV_DONTNEED) or os.close(f) "
                          "for f in (os.open(os.path.join(d, n), os.O_RDONLY) for n in "
                          "os.listdir(d))]; open(sys.argv[2], 'w').close()\" \"" +
                          folder + "\" \"" + unixMark + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION host = {};
    if (!::CreateProcessA("Z:\\usr\\bin\\python3", &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &si, &host))
        return false;
    ::CloseHandle(host.hThread);
    ::CloseHandle(host.hProcess);
    for (int i = 0; i < 600 && ::GetFileAttributesA(mark.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        ::Sleep(100);
    return ::DeleteFileA(mark.c_str()) != FALSE;
}

struct Timings {
    std::vector<double> checks, reads;
};

void PrintTimings(const char* lpszHow, const Timings& timings) {
    const double ratio = bench::Best(timings.checks) / bench::Best(timings.reads);
    std::printf("  %s:\n    check %.3f s (%.0f MB/s), one read past the cache %.3f s (%.0f MB/s)"
                "   runs:",
                lpszHow, bench::Best(timings.checks), 1000 / bench::Best(timings.checks),
                bench::Best(timings.reads), 1000 / bench::Best(timings.reads));
    for (size_t i = 0; i < timings.checks.size(); ++i)
        std::printf(" %.3f/%.3f", timings.checks[i], timings.reads[i]);
    std::printf("\n    check / read %.3fx (of medians %.3fx), target at most %.2fx: %s\n", ratio,
                bench::Median(timings.checks) / bench::Median(timings.reads), kCheckTarget,
                ratio <= kCheckTarget ? "met" : "MISSED");
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    BenchDigests();
    test::TempFolder::RemoveContents(kDrive, true);
    bench::SourceSet set("bench-check", 1000, kFileBytes);
    if (!set.Complete()) {
        std::printf("FAILED: could not create the source files\n");
        return 1;
    }
    std::vector<CString> copies;
    std::vector<FileDigest> digests;
    {
        CStagedCopy copy;
        for (int i = 0; i < set.Count(); ++i) {
            const CString name = ("copy-" + set.Name(i)).c_str();
            if (copy.Copy(set.Path(i).c_str(), kDrive, name, kFileBytes, Existing::kReplace) !=
                CopyOutcome::kCopied) {
                std::printf("FAILED: could not copy %s\n", set.Name(i).c_str());
                return 1;
            }
            copies.push_back(JoinPath(kDrive, name));
            digests.push_back(copy.Digest());
        }
    }
    std::vector<char> buffer(kPieceBytes + 4096);
    char* pPiece = buffer.data() + (4096 - reinterpret_cast<UINT_PTR>(buffer.data()) % 4096) % 4096;
    bool bOk = true;
    const std::function<void()> check = [&] {
        CCopyCheck checker(kDrive);
        for (size_t i = 0; i < copies.size(); ++i)
            bOk &= checker.Check(copies[i], digests[i]) == CheckResult::kEqual;
    };
    const std::function<void()> read = [&] {
        for (const CString& path : copies)
            bOk &= ReadPastCache(static_cast<LPCSTR>(path), pPiece);
    };
    // Turn about, so that neither always comes first.
    Timings cached, evicted;
    bool bEvicted = true;
    for (int round = 0; round < kRounds; ++round) {
        cached.checks.push_back(bench::TimeOf(check));
        cached.reads.push_back(bench::TimeOf(read));
        for (int turn = 0; turn < 2; ++turn) {
            bEvicted &= EvictFromHostCache(set);
            const bool bCheck = (round + turn) % 2 == 0;
            (bCheck ? evicted.checks : evicted.reads)
                .push_back(bench::TimeOf(bCheck ? check : read));
        }
    }
    test::TempFolder::RemoveContents(kDrive, true);
    if (!bOk)
        std::printf("FAILED: a copy did not read back equal to what was written\n");
    std::printf("The check of 1,000 copies of 1 MiB on %s, best of %d rounds in turn\n", kDrive,
                kRounds);
    PrintTimings("from the host's page cache, as Wine reads past the cache", cached);
    if (bEvicted)
        PrintTimings("from the host's disk, the copies dropped from its cache before each",
                     evicted);
    else
        std::printf("  the copies could not be dropped from the host's cache\n");
    return bOk ? 0 : 1;
}
