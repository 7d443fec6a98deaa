// Binary archive files: "binds.bin" and the save games.
//
// Both are binary archives of the serialisation library whose header we write
// and parse ourselves: the header records library version 14 whatever Boost
// is installed, and reading accepts any version the installed library can
// read. Behind the header the bytes are Boost's own.
//
// Reading goes through ArchiveReader, a binary input archive that refuses a
// string length or collection count larger than the bytes left in the file,
// so a corrupt file fails with an error instead of asking for gigabytes. It
// also refuses pointer class numbers that name no class registered for
// reading through pointers (the library itself would index its class table
// with them), back references to objects read earlier (we never write an
// object twice, and a forged reference could point anywhere, even at the
// caller's stack), and bools other than 0 and 1.
// ReadArchiveFile and WriteArchiveFile are the only entry points; both throw
// ArchiveError with the file name, and a writer never replaces a good file
// with a half-written one.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <ostream>
#include <string>

#include <boost/archive/binary_iarchive_impl.hpp>
#include <boost/archive/binary_oarchive.hpp>
#include <boost/serialization/array_optimization.hpp>

#include "platform/GameError.h"

namespace mirefell
{

inline constexpr uint16_t ArchiveLibraryVersion = 14;

// A file that is missing, unreadable, truncated or not the archive we expect.
class ArchiveError : public GameError
{
public:
    using GameError::GameError;
};

class ArchiveReader : public boost::archive::binary_iarchive_impl<ArchiveReader, char, std::char_traits<char>>
{
public:
    // Reads from `stream`, positioned just after the header; `size` is the
    // stream's total length in bytes.
    ArchiveReader(std::istream& stream, uint64_t size, uint16_t libraryVersion);

    // Bytes not yet consumed.
    uint64_t Remaining() const;

    // Registers a class read through pointers. Only the classes registered
    // before the first object is read may appear as pointer classes in the
    // file (their class numbers are 0, 1, ... in registration order); we
    // write no export keys, so no file names a class of its own.
    template <class T> const boost::archive::detail::basic_pointer_iserializer* register_type(T* type = nullptr)
    {
        if (!reading)
            ++pointerClasses;
        return Base::register_type(type);
    }

private:
    using Base = boost::archive::binary_iarchive_impl<ArchiveReader, char, std::char_traits<char>>;
    friend class boost::archive::detail::interface_iarchive<ArchiveReader>;
    friend class boost::archive::basic_binary_iarchive<ArchiveReader>;
    friend class boost::archive::basic_binary_iprimitive<ArchiveReader, char, std::char_traits<char>>;
    friend class boost::archive::load_access;

    template <class T> void load_override(T& t)
    {
        reading = true;
        Base::load_override(t);
    }
    void load_override(boost::serialization::collection_size_type& count);
    void load_override(boost::archive::class_id_type& id);
    void load_override(boost::archive::object_id_type& id);

    using Base::load;
    void load(std::string& text);
    void load(std::wstring& text);
    void load(bool& value);

    void Require(uint64_t bytes) const;

    std::istream& stream;
    uint64_t size;
    bool reading = false;
    int pointerClasses = 0;
    uint32_t objectsRead = 0;
};

using ArchiveWriter = boost::archive::binary_oarchive;

} // namespace mirefell

// Like Boost's own binary archive, the reader takes arrays of plain values in
// one block; the writer writes them that way, so the two must agree.
BOOST_SERIALIZATION_USE_ARRAY_OPTIMIZATION(mirefell::ArchiveReader)

namespace mirefell
{

// Writes the standard header with library version 14 (40 bytes).
void WriteArchiveHeader(std::ostream& out);
// Reads and checks the header; returns the library version it records.
// Throws ArchiveError for a foreign or unreadable header.
uint16_t ReadArchiveHeader(std::istream& in);

// The largest archive file read when the caller names no limit of its own.
inline constexpr uint64_t LargestArchiveFile = 16u << 20;
// How a write refused for its size says so, after the archive's size.
inline constexpr const char* MoreThanItsReaderTakes = " bytes, more than such a file can hold";

// Reads an archive already in memory: the header, then `read` with the
// archive. Every failure (bad header, truncated or corrupt data, or an error
// thrown by `read`) becomes an ArchiveError naming `name`; one whose bytes
// do not read to their end says "the file is damaged or cut short" and how.
void ReadArchiveBytes(const std::string& name, const std::string& bytes,
                      const std::function<void(ArchiveReader&)>& read);
// Reads a whole archive file of at most `largest` bytes (ReadPlayerFile) and
// then its bytes. A missing file, or anything but a regular file of that
// size, fails with "can't access file" and the reason.
void ReadArchiveFile(const std::string& path, const std::function<void(ArchiveReader&)>& read,
                     uint64_t largest = LargestArchiveFile);
// Writes a whole archive file through a temporary file renamed over `path`,
// so the old file survives any failure. An archive of more than `largest`
// bytes, which its reader would refuse, is not written: "can't write file"
// with its size. Throws ArchiveError on failure.
void WriteArchiveFile(const std::string& path, const std::function<void(ArchiveWriter&)>& write,
                      uint64_t largest = LargestArchiveFile);

} // namespace mirefell
