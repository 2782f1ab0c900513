#include "binding/entry_table.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <string>

#include "binding/argument.h"
#include "binding/library_loader.h"

namespace binding {
namespace {

const Entry* find_entry(std::string_view entry_name) {
  for (const auto& entry : entry_table()) {
    if (entry.entry_name == entry_name) return &entry;
  }
  return nullptr;
}

std::string kinds_of(const Entry& entry) {
  std::string letters;
  for (auto kind : entry.params) letters += kind == ParamKind::Integer ? 'i' : 't';
  return letters;
}

TEST(EntryTable, BindingNamesAreTheEntryNamesInUpperCaseCutTo63Characters) {
  std::set<std::string_view> binding_names;
  std::set<std::string_view> entry_names;
  for (const auto& entry : entry_table()) {
    EXPECT_EQ(entry.binding_name, binding_name_for(entry.entry_name)) << entry.entry_name;
    EXPECT_TRUE(entry.entry_name.starts_with("Drovanexis_")) << entry.entry_name;
    EXPECT_TRUE(binding_names.insert(entry.binding_name).second) << entry.binding_name;
    EXPECT_TRUE(entry_names.insert(entry.entry_name).second) << entry.entry_name;
  }
  // The operations' 48 entries and the 73 further ones.
  EXPECT_EQ(entry_table().size(), 121u);
}

TEST(EntryTable, BindingNameRule) {
  EXPECT_EQ(binding_name_for("Drovanexis_SetEmisorInfo_cfdi33"), "DROVANEXIS_SETEMISORINFO_CFDI33");
  const std::string longest =
      binding_name_for("Drovanexis_CartaPorte20AddFiguraTransporteTiposFiguraPartesTransporte");
  EXPECT_EQ(longest, "DROVANEXIS_CARTAPORTE20ADDFIGURATRANSPORTETIPOSFIGURAPARTESTRAN");
  EXPECT_EQ(longest.size(), 63u);
}

TEST(EntryTable, RowsCarryTheEntrysKindsAndSpelling) {
  struct Row {
    std::string_view entry_name;
    std::string kinds;  // owned: some rows build it from temporaries
    ResultKind result;
  };
  const Row rows[] = {
      {"Drovanexis_New", "t", ResultKind::Integer},
      {"Drovanexis_GetValue", "ii", ResultKind::Text},
      {"Drovanexis_Free", "i", ResultKind::None},
      {"Drovanexis_GeneraCBB", "ttitiii", ResultKind::Integer},
      {"Drovanexis_CerTo64", "t", ResultKind::Text},
      {"Drovanexis_CancelaCFDI", "tttttttttt", ResultKind::Integer},
      {"Drovanexis_Nomina12AddPercepcion", "ittttttttttt", ResultKind::None},
      {"Drovanexis_CartaPorte10AddUbicacion", "i" + std::string(30, 't'), ResultKind::None},
      {"Drovanexis_GetValues", "iti", ResultKind::None},
      {"Drovanexis_GetTimeWithDelay", "ii", ResultKind::Text},
      {"Drovanexis_ConsultaSaldos", "ttit", ResultKind::Integer},
      {"Drovanexis_CartaPorte10SetMercanciasTransporteFerrioviario", "i" + std::string(13, 't'),
       ResultKind::None},
      {"Drovanexis_CartaPorte20AddFiguraTransporteTiposFiguraPartesTransporte", "it",
       ResultKind::None},
  };
  for (const auto& row : rows) {
    const Entry* entry = find_entry(row.entry_name);
    ASSERT_NE(entry, nullptr) << row.entry_name;
    EXPECT_EQ(kinds_of(*entry), row.kinds) << row.entry_name;
    EXPECT_EQ(entry->result, row.result) << row.entry_name;
  }
}

TEST(Arg, NumbersBecomeSigned32BitValues) {
  struct Case {
    Arg arg;
    std::int32_t expected;
  };
  const Case cases[] = {
      {Arg(-7), -7},
      {Arg(std::numeric_limits<std::int32_t>::min()), std::numeric_limits<std::int32_t>::min()},
      {Arg(std::numeric_limits<std::int32_t>::max()), std::numeric_limits<std::int32_t>::max()},
      {Arg(0x1'0000'0005LL), 5},
      {Arg(0xFFFF'FFFFu), -1},
      {Arg(0x8000'0000u), std::numeric_limits<std::int32_t>::min()},
      {Arg("12"), 0},
      {Arg(absent), 0},
      {Arg(nullptr), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.arg.as_integer(), c.expected);
}

TEST(Arg, TextsAreTheCallersOwnBytes) {
  const std::string text = "Mar\xF3n";
  EXPECT_EQ(Arg(text).as_text(), text.c_str());
  const char* literal = "3.3";
  EXPECT_EQ(Arg(literal).as_text(), literal);
  EXPECT_EQ(Arg(42).as_text(), nullptr);
  EXPECT_EQ(Arg(absent).as_text(), nullptr);
  EXPECT_EQ(Arg(nullptr).as_text(), nullptr);
  EXPECT_EQ(Arg(static_cast<const char*>(nullptr)).kind(), Arg::Kind::Absent);
}

TEST(LocateLibrary, NamedFileThenBesideTheExecutableThenTheSystemSearch) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("binding_locate_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "with");
  std::filesystem::create_directories(dir / "without");
  std::ofstream(dir / "with" / kLibraryFileName) << "placeholder";

  EXPECT_EQ(locate_library("/elsewhere/librecording.so", dir / "with").file,
            "/elsewhere/librecording.so");
  EXPECT_EQ(locate_library(nullptr, dir / "with").file, (dir / "with" / kLibraryFileName).string());
  EXPECT_EQ(locate_library("", dir / "with").file, (dir / "with" / kLibraryFileName).string());
  EXPECT_EQ(locate_library(nullptr, dir / "without").file, kLibraryFileName);

  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace binding
