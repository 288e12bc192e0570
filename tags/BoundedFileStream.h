// The file TagLib reads a media file through: opened for reading only, shared with other
// programs, read ahead in blocks, and cut off after a bounded number of bytes.
#pragma once

#include "framework/KernelHandle.h"

#include <tiostream.h>

#include <string>
#include <vector>

// TagLib looks for tags and frames by reading on until it finds them, and takes counts of
// entries from the file: a damaged or foreign file would be read to its end, a few bytes at a
// time into entries that each cost it a kilobyte (a WMA file of 40 MB took a minute and 6 GB).
// Past a budget of bytes and one of reads every read comes back empty, which TagLib takes for
// the end of the file. Files it cannot address (2 GiB and more: TagLib 1.13 keeps offsets in a
// long, 32 bits on Windows) are not opened at all.
class CBoundedFileStream : public TagLib::IOStream {
public:
    CBoundedFileStream(const std::wstring& path, unsigned long nBytes, unsigned long nReads);
    CBoundedFileStream(const CBoundedFileStream&) = delete;
    CBoundedFileStream& operator=(const CBoundedFileStream&) = delete;

    TagLib::FileName name() const override { return m_path.c_str(); }
    TagLib::ByteVector readBlock(unsigned long length) override;
    bool readOnly() const override { return true; }
    bool isOpen() const override { return !m_hFile.IsNull(); }
    void seek(long offset, Position p = Beginning) override;
    long tell() const override { return m_nPosition; }
    long length() override { return m_nLength; }
    // Nothing is ever written: TagLib asks readOnly() before it saves.
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
    void removeBlock(unsigned long, unsigned long) override {}
    void truncate(long) override {}

private:
    // Reads length bytes at the position from the file, or fewer at its end or the budget's.
    bool ReadAt(long nPosition, char* pBuffer, unsigned long length, unsigned long* pRead);

    std::wstring m_path;
    CHandle m_hFile;
    long m_nLength = 0;
    long m_nPosition = 0;
    unsigned long m_nBudget;     // bytes still to be read from the file
    unsigned long m_nReadsLeft;  // reads that TagLib may still ask for
    std::vector<char> m_ahead;   // the bytes read ahead, from m_nAheadAt
    long m_nAheadAt = 0;
};
