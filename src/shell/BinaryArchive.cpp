#include "shell/BinaryArchive.h"

#include <cstring>
#include <limits>
#include <sstream>

#include <boost/archive/archive_exception.hpp>
#include <boost/archive/basic_archive.hpp>
#include <boost/archive/impl/archive_serializer_map.ipp>
#include <boost/archive/impl/basic_binary_iarchive.ipp>
#include <boost/archive/impl/basic_binary_iprimitive.ipp>

#include "shell/FileKeeping.h"

// The reader is a derived archive: its templates are instantiated here once.
namespace boost::archive
{
template class basic_binary_iprimitive<mirefell::ArchiveReader, char, std::char_traits<char>>;
template class basic_binary_iarchive<mirefell::ArchiveReader>;
template class binary_iarchive_impl<mirefell::ArchiveReader, char, std::char_traits<char>>;
template class detail::archive_serializer_map<mirefell::ArchiveReader>;
} // namespace boost::archive

namespace mirefell
{

namespace
{

const char Signature[] = "serialization::archive";
constexpr size_t SignatureLength = sizeof Signature - 1;

template <class T> void WriteRaw(std::ostream& out, T value)
{
    out.write(reinterpret_cast<const char*>(&value), sizeof value);
}

template <class T> bool ReadRaw(std::istream& in, T& value)
{
    return static_cast<bool>(in.read(reinterpret_cast<char*>(&value), sizeof value));
}

// What every message about a file that does not read to its end says: the
// player can tell nothing more, and neither can the reader.
const char DamagedOrCutShort[] = "the file is damaged or cut short";

// The library's reasons in words a player can act on. `ended`: the reading
// ran into the end of the bytes.
std::string WhatIsWrong(const boost::archive::archive_exception& error, bool ended)
{
    const std::string prefix = DamagedOrCutShort;
    if (ended)
        return prefix + ": it ends in the middle of its data";
    if (error.code == boost::archive::archive_exception::input_stream_error)
        return prefix + ": a length, count or value in it is impossible";
    // Array sizes, class numbers and versions: the bytes are all there but
    // are not a file of this kind.
    return prefix + " (" + error.what() + ")";
}

[[noreturn]] void ThrowStreamError()
{
    throw boost::archive::archive_exception(boost::archive::archive_exception::input_stream_error);
}

} // namespace

ArchiveReader::ArchiveReader(std::istream& stream_, uint64_t size_, uint16_t libraryVersion)
    : Base(stream_, boost::archive::no_header), stream(stream_), size(size_)
{
    set_library_version(boost::serialization::library_version_type(libraryVersion));
}

uint64_t ArchiveReader::Remaining() const
{
    const auto position = m_sb.pubseekoff(0, std::ios::cur, std::ios::in);
    if (position < 0 || static_cast<uint64_t>(position) > size)
        return 0;
    return size - static_cast<uint64_t>(position);
}

void ArchiveReader::Require(uint64_t bytes) const
{
    if (bytes > Remaining())
        ThrowStreamError();
}

void ArchiveReader::load_override(boost::serialization::collection_size_type& count)
{
    Base::load_override(count);
    // Every element takes at least one byte.
    Require(static_cast<uint64_t>(count));
}

void ArchiveReader::load_override(boost::archive::class_id_type& id)
{
    Base::load_override(id);
    const int value = id;
    // -1 is a null pointer.
    if (value < -1 || value >= pointerClasses)
        throw boost::archive::archive_exception(boost::archive::archive_exception::unregistered_class);
}

void ArchiveReader::load_override(boost::archive::object_id_type& id)
{
    Base::load_override(id);
    // Every tracked object is new: its number is the count read before it.
    if (static_cast<uint32_t>(id) != objectsRead)
        throw boost::archive::archive_exception(boost::archive::archive_exception::input_stream_error);
    ++objectsRead;
}

void ArchiveReader::load(bool& value)
{
    uint8_t byte = 0;
    load_binary(&byte, sizeof byte);
    if (byte > 1)
        ThrowStreamError();
    value = byte != 0;
}

void ArchiveReader::load(std::string& text)
{
    uint64_t length = 0;
    load_binary(&length, sizeof length);
    Require(length);
    text.resize(static_cast<size_t>(length));
    if (length > 0)
        load_binary(text.data(), static_cast<size_t>(length));
}

void ArchiveReader::load(std::wstring& text)
{
    uint64_t length = 0;
    load_binary(&length, sizeof length);
    if (length > std::numeric_limits<uint64_t>::max() / sizeof(wchar_t))
        ThrowStreamError();
    Require(length * sizeof(wchar_t));
    text.resize(static_cast<size_t>(length));
    if (length > 0)
        load_binary(text.data(), static_cast<size_t>(length) * sizeof(wchar_t));
}

void WriteArchiveHeader(std::ostream& out)
{
    WriteRaw<uint64_t>(out, SignatureLength);
    out.write(Signature, SignatureLength);
    WriteRaw<uint16_t>(out, ArchiveLibraryVersion);
    WriteRaw<uint8_t>(out, sizeof(int));
    WriteRaw<uint8_t>(out, sizeof(long));
    WriteRaw<uint8_t>(out, sizeof(float));
    WriteRaw<uint8_t>(out, sizeof(double));
    WriteRaw<int>(out, 1);
}

uint16_t ReadArchiveHeader(std::istream& in)
{
    // The signature's length, then the signature: a file that holds less
    // than that but agrees with it as far as it goes was cut short.
    char expected[sizeof(uint64_t) + SignatureLength];
    const uint64_t signatureLength = SignatureLength;
    std::memcpy(expected, &signatureLength, sizeof signatureLength);
    std::memcpy(expected + sizeof signatureLength, Signature, SignatureLength);
    char start[sizeof expected] = {};
    in.read(start, sizeof start);
    const auto got = static_cast<size_t>(in.gcount());
    if (got == 0)
        throw ArchiveError("invalid archive", std::string(DamagedOrCutShort) + ": the file is empty");
    if (std::memcmp(start, expected, got) != 0)
        throw ArchiveError("invalid archive", "not a binary archive");
    if (got < sizeof expected)
        throw ArchiveError("invalid archive", std::string(DamagedOrCutShort) + ": the file ends inside its header");

    uint16_t version = 0;
    if (!ReadRaw(in, version))
        throw ArchiveError("invalid archive", std::string(DamagedOrCutShort) + ": the file ends inside its header");
    // Versions 1 and 2 used other header layouts; newer ones than the
    // installed library are unknown to it.
    if (version < 3 || version > static_cast<uint16_t>(boost::archive::BOOST_ARCHIVE_VERSION()))
        throw ArchiveError("invalid archive", "unsupported library version " + std::to_string(version));

    uint8_t sizes[4] = {};
    int endianness = 0;
    if (!ReadRaw(in, sizes) || !ReadRaw(in, endianness))
        throw ArchiveError("invalid archive", std::string(DamagedOrCutShort) + ": the file ends inside its header");
    if (sizes[0] != sizeof(int) || sizes[1] != sizeof(long) || sizes[2] != sizeof(float) ||
        sizes[3] != sizeof(double) || endianness != 1)
        throw ArchiveError("invalid archive", "written on a machine with other type sizes");
    return version;
}

void ReadArchiveBytes(const std::string& name, const std::string& bytes,
                      const std::function<void(ArchiveReader&)>& read)
{
    std::istringstream stream(bytes);
    try {
        const uint16_t version = ReadArchiveHeader(stream);
        ArchiveReader reader(stream, bytes.size(), version);
        read(reader);
    } catch (const ArchiveError& error) {
        throw ArchiveError(error.what(), name + ": " + error.Detail());
    } catch (const boost::archive::archive_exception& error) {
        // The library reads the buffer directly: where it stopped says
        // whether the bytes ran out.
        const auto stopped = stream.rdbuf()->pubseekoff(0, std::ios::cur, std::ios::in);
        const bool ended = stopped < 0 || static_cast<uint64_t>(stopped) >= bytes.size();
        throw ArchiveError("invalid archive", name + ": " + WhatIsWrong(error, ended));
    } catch (const std::bad_alloc&) {
        throw ArchiveError("invalid archive", name + ": " + DamagedOrCutShort + ": it asks for implausible sizes");
    } catch (const std::exception& error) {
        throw ArchiveError("invalid archive", name + ": " + error.what());
    }
}

void ReadArchiveFile(const std::string& path, const std::function<void(ArchiveReader&)>& read, uint64_t largest)
{
    // Save games and bindings are small: read the file whole, so a reader
    // never meets a file that changes under it.
    const PlayerFile file = ReadPlayerFile(path, largest);
    if (file.status == PlayerFile::Status::Missing)
        throw ArchiveError("can't access file", path + ": no such file");
    if (file.status == PlayerFile::Status::Unreadable)
        throw ArchiveError("can't access file", path + ": " + file.problem);
    ReadArchiveBytes(path, file.bytes, read);
}

void WriteArchiveFile(const std::string& path, const std::function<void(ArchiveWriter&)>& write, uint64_t largest)
{
    // The archive writes into memory, where nothing can fail part-way: a
    // stream error inside the library would otherwise throw again from the
    // archive's destructor while the first error unwinds.
    std::ostringstream bytes;
    try {
        WriteArchiveHeader(bytes);
        ArchiveWriter archive(bytes, boost::archive::no_header | boost::archive::no_codecvt);
        write(archive);
    } catch (const ArchiveError&) {
        throw;
    } catch (const std::exception& error) {
        throw ArchiveError("can't write file", path + ": " + error.what());
    }
    if (bytes.view().size() > largest)
        throw ArchiveError("can't write file", path + ": " + std::to_string(bytes.view().size()) +
                                                   MoreThanItsReaderTakes + " (" + std::to_string(largest) + ")");
    try {
        ReplaceFileContents(path, bytes.view());
    } catch (const GameError& error) {
        throw ArchiveError(error.what(), error.Detail());
    }
}

} // namespace mirefell
