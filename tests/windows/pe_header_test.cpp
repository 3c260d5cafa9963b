// The Windows executables as files: the 32-bit build is a PE32 console
// program for the i386, the 64-bit one a PE32+ console program for x86-64.
// Both import from system DLLs only, and both load at the fixed image base
// without address-space randomization, so that the addresses of a run-time
// error report are the addresses in the file.
#include <gtest/gtest.h>
#include <stdint.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr uint16_t MachineI386 = 0x014C;
constexpr uint16_t MachineAmd64 = 0x8664;
constexpr uint16_t MagicPe32 = 0x010B;
constexpr uint16_t MagicPe32Plus = 0x020B;
constexpr uint16_t SubsystemConsole = 3;
constexpr uint16_t DynamicBase = 0x0040;
constexpr uint16_t HighEntropyVa = 0x0020;

struct PeImage {
  uint16_t Machine = 0;
  uint16_t Magic = 0;
  uint16_t Subsystem = 0;
  uint16_t DllCharacteristics = 0;
  uint64_t ImageBase = 0;
  std::vector<std::string> ImportedDlls;  // lower case
};

class PeReader {
 public:
  explicit PeReader(std::string bytes) : bytes_(std::move(bytes)) {}

  uint32_t U32(size_t at) const { return Read(at, 4); }
  uint16_t U16(size_t at) const { return static_cast<uint16_t>(Read(at, 2)); }
  uint64_t U64(size_t at) const { return Read(at, 8); }

  std::string CString(size_t at) const {
    Check(at, 1);
    const size_t end = bytes_.find('\0', at);
    if (end == std::string::npos) throw std::runtime_error("unterminated name");
    return bytes_.substr(at, end - at);
  }

 private:
  void Check(size_t at, size_t size) const {
    if (at + size > bytes_.size() || at + size < at)
      throw std::runtime_error("read past the end of the file");
  }
  uint64_t Read(size_t at, size_t size) const {
    Check(at, size);
    uint64_t value = 0;
    for (size_t i = size; i > 0; --i) value = value << 8 | static_cast<uint8_t>(bytes_[at + i - 1]);
    return value;
  }

  std::string bytes_;
};

struct Section {
  uint32_t VirtualAddress;
  uint32_t VirtualSize;
  uint32_t FileOffset;
};

size_t FileOffsetOf(const std::vector<Section>& sections, uint32_t rva) {
  for (const Section& section : sections)
    if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.VirtualSize)
      return section.FileOffset + (rva - section.VirtualAddress);
  throw std::runtime_error("address outside every section");
}

PeImage ReadPeImage(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + path);
  const PeReader pe(std::string(std::istreambuf_iterator<char>(file), {}));

  if (pe.U16(0) != 0x5A4D) throw std::runtime_error("no MZ header");
  const size_t header = pe.U32(0x3C);
  if (pe.U32(header) != 0x00004550) throw std::runtime_error("no PE signature");

  PeImage image;
  const size_t coff = header + 4;
  image.Machine = pe.U16(coff);
  const uint16_t sectionCount = pe.U16(coff + 2);
  const uint16_t optionalSize = pe.U16(coff + 16);
  const size_t optional = coff + 20;
  image.Magic = pe.U16(optional);
  const bool plus = image.Magic == MagicPe32Plus;
  image.ImageBase = plus ? pe.U64(optional + 24) : pe.U32(optional + 28);
  image.Subsystem = pe.U16(optional + 68);
  image.DllCharacteristics = pe.U16(optional + 70);
  const size_t directories = optional + (plus ? 112 : 96);
  const uint32_t importRva = pe.U32(directories + 8);  // entry 1: the import table

  std::vector<Section> sections;
  for (size_t i = 0, at = optional + optionalSize; i < sectionCount; ++i, at += 40)
    sections.push_back(
        {pe.U32(at + 12), std::max(pe.U32(at + 8), pe.U32(at + 16)), pe.U32(at + 20)});

  // Import descriptors of 20 bytes each, ended by one of zeros; the name of
  // the DLL is at offset 12.
  if (importRva != 0) {
    for (size_t at = FileOffsetOf(sections, importRva); pe.U32(at + 12) != 0; at += 20) {
      std::string name = pe.CString(FileOffsetOf(sections, pe.U32(at + 12)));
      std::transform(name.begin(), name.end(), name.begin(),
                     [](unsigned char c) { return std::tolower(c); });
      image.ImportedDlls.push_back(name);
    }
  }
  return image;
}

// DLLs that every Windows has: the kernel's and the system's C library.
const std::set<std::string> SystemDlls = {"kernel32.dll", "msvcrt.dll"};

struct Build {
  const char* Name;
  const char* DirectoryVariable;
  uint16_t Machine;
  uint16_t Magic;
};

class WindowsExecutables : public testing::TestWithParam<Build> {};

TEST_P(WindowsExecutables, AreConsoleProgramsAtAFixedBaseImportingOnlySystemDlls) {
  const Build& build = GetParam();
  const char* directory = getenv(build.DirectoryVariable);
  if (directory == nullptr || *directory == '\0')
    GTEST_FAIL() << build.DirectoryVariable
                 << " names no build directory (scripts/test-windows sets it)";

  const PeImage image = ReadPeImage(std::string(directory) + "/msgcode.exe");
  EXPECT_EQ(image.Machine, build.Machine);
  EXPECT_EQ(image.Magic, build.Magic);
  EXPECT_EQ(image.Subsystem, SubsystemConsole);
  EXPECT_EQ(image.ImageBase, 0x400000u);
  EXPECT_EQ(image.DllCharacteristics & (DynamicBase | HighEntropyVa), 0);
  EXPECT_FALSE(image.ImportedDlls.empty());
  for (const std::string& dll : image.ImportedDlls)
    EXPECT_EQ(SystemDlls.count(dll), 1u) << "imports from " << dll;
}

INSTANTIATE_TEST_SUITE_P(
    Builds, WindowsExecutables,
    testing::Values(Build{"I686", "MSGCODE_WINDOWS_I686_DIR", MachineI386, MagicPe32},
                    Build{"X86_64", "MSGCODE_WINDOWS_DIR", MachineAmd64, MagicPe32Plus}),
    [](const testing::TestParamInfo<Build>& info) { return std::string(info.param.Name); });

}  // namespace
