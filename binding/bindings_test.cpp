// The binding functions against the recording library, which writes down
// exactly what each entry received.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <source_location>
#include <string>
#include <vector>

#include "binding/drovanexis_bindings.h"
#include "binding/testing/recording_client.h"
#include "portable/environment.h"

namespace {

using ::testing::HasSubstr;

class Bindings : public ::testing::Test {
 protected:
  Bindings() { recording_.reset(); }

  std::string last_call() const {
    auto calls = recording_.calls();
    return calls.empty() ? std::string("<no call>") : calls.back();
  }

  recording::ScopedLibrary scoped_{BINDING_RECORDING_LIBRARY};
  recording::RecordingLibrary recording_{BINDING_RECORDING_LIBRARY};
};

TEST_F(Bindings, PayrollPerceptionWithFiveTextsPassesSixNullPointers) {
  DROVANEXIS_NOMINA12ADDPERCEPCION(7, "001", "001", "Sueldos, Salarios", "3000.00", "0.00");
  EXPECT_EQ(last_call(),
            "Drovanexis_Nomina12AddPercepcion(7, \"001\", \"001\", \"Sueldos, Salarios\", "
            "\"3000.00\", \"0.00\", null, null, null, null, null, null)");
}

TEST_F(Bindings, MissingArgumentsAreNullPointersAndZeros) {
  DROVANEXIS_GENERACBB("cbb.bmp");
  EXPECT_EQ(last_call(), "Drovanexis_GeneraCBB(\"cbb.bmp\", null, 0, null, 0, 0, 0)");
  DROVANEXIS_GETVALUE();
  EXPECT_EQ(last_call(), "Drovanexis_GetValue(0, 0)");
  DROVANEXIS_SETVELMORANETINFO(3, binding::absent, nullptr);
  EXPECT_EQ(last_call(), "Drovanexis_SetVelmoranetInfo(3, null, null)");
}

TEST_F(Bindings, ArgumentsOfTheWrongKindArriveAsNullPointersAndZeros) {
  DROVANEXIS_NEW(33);
  EXPECT_EQ(last_call(), "Drovanexis_New(null)");
  DROVANEXIS_GETVALUE("7", 9);
  EXPECT_EQ(last_call(), "Drovanexis_GetValue(0, 9)");
}

TEST_F(Bindings, ArgumentsBeyondTheEntrysCountAreDropped) {
  DROVANEXIS_FREE(3, "extra", 4);
  EXPECT_EQ(last_call(), "Drovanexis_Free(3)");
  DROVANEXIS_CERTO64("a.cer", "b.cer");
  EXPECT_EQ(last_call(), "Drovanexis_CerTo64(\"a.cer\")");
}

TEST_F(Bindings, The63CharacterNameReachesItsLongEntry) {
  DROVANEXIS_CARTAPORTE20ADDFIGURATRANSPORTETIPOSFIGURAPARTESTRAN(5, "PT01");
  EXPECT_EQ(last_call(),
            "Drovanexis_CartaPorte20AddFiguraTransporteTiposFiguraPartesTransporte(5, \"PT01\")");
}

TEST_F(Bindings, IntegersArriveAsSigned32BitValues) {
  struct Case {
    long long given;
    std::string received;
  };
  const Case cases[] = {
      {-1, "-1"},
      {std::numeric_limits<std::int32_t>::min(), "-2147483648"},
      {std::numeric_limits<std::int32_t>::max(), "2147483647"},
      {0x1'0000'0005LL, "5"},
      {0xFFFF'FFFFLL, "-1"},
  };
  for (const auto& c : cases) {
    DROVANEXIS_GETVALUE(c.given, 1);
    EXPECT_EQ(last_call(), "Drovanexis_GetValue(" + c.received + ", 1)") << c.given;
  }
  DROVANEXIS_GETVALUEINFILE(-3, 0xFFFF'FFFEu, "out.txt");
  EXPECT_EQ(last_call(), "Drovanexis_GetValueInFile(-3, -2, \"out.txt\")");
}

TEST_F(Bindings, TextParametersAreTheCallersOwnBytes) {
  const std::string name = "Jos\xE9 Mar\xF3n";  // Windows-1252 single bytes
  const char* literal = "601";
  DROVANEXIS_SETEMISORINFO_CFDI33(1, "CACX7605101P8", name, literal);
  EXPECT_EQ(last_call(),
            "Drovanexis_SetEmisorInfo_cfdi33(1, \"CACX7605101P8\", \"Jos\\xE9 Mar\\xF3n\", "
            "\"601\")");
  EXPECT_EQ(recording_.text_address(0, 2), name.c_str());
  EXPECT_EQ(recording_.text_address(0, 3), literal);
}

TEST_F(Bindings, IntegerResultsComeBackAsNumbers) {
  recording_.set_integer_result("Drovanexis_New", 41);
  EXPECT_EQ(DROVANEXIS_NEW("3.3"), 41);
  recording_.set_integer_result("Drovanexis_ProcesaDocumento", -301);
  EXPECT_EQ(DROVANEXIS_PROCESADOCUMENTO(41, "a.cer", "a.key", "pw", "out.xml"), -301);
  recording_.set_integer_result("Drovanexis_CancelaCFDI", std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(DROVANEXIS_CANCELACFDI(), std::numeric_limits<std::int32_t>::min());
}

TEST_F(Bindings, TextResultsAreCopiedAndANullTextIsEmpty) {
  EXPECT_EQ(DROVANEXIS_GETVALUE(1, 9), "");
  EXPECT_EQ(DROVANEXIS_CERTO64("x.cer"), "");

  recording_.set_value(9, "Jos\xE9");
  std::string value = DROVANEXIS_GETVALUE(1, 9);
  recording_.set_value(9, "changed afterwards");
  EXPECT_EQ(value, "Jos\xE9");

  recording_.set_text_result("Drovanexis_CerTo64", "TUlJ");
  EXPECT_EQ(DROVANEXIS_CERTO64("x.cer"), "TUlJ");
}

TEST_F(Bindings, EveryBindingFunctionReachesItsOwnEntryWithItsParameterCount) {
  std::vector<std::string> expected;
#define DROVANEXIS_ENTRY(binding_name, entry_name, params, result) \
  binding_name();                                                  \
  expected.push_back(#entry_name);
#include "binding/entry_list.inc"
#undef DROVANEXIS_ENTRY

  const auto calls = recording_.calls();
  ASSERT_EQ(calls.size(), expected.size());
  for (std::size_t i = 0; i < calls.size(); ++i) {
    const auto& entry = binding::entry_table()[i];
    ASSERT_EQ(entry.entry_name, expected[i]);
    std::string call = std::string(entry.entry_name) + "(";
    for (std::size_t p = 0; p < entry.params.size(); ++p) {
      call += p ? ", " : "";
      call += entry.params[p] == binding::ParamKind::Integer ? "0" : "null";
    }
    EXPECT_EQ(calls[i], call + ")");
  }
}

TEST_F(Bindings, CallsAreAlsoWrittenToTheFileNamedByTheEnvironment) {
  const std::string log_file = ::testing::TempDir() + "recording_calls.log";
  std::remove(log_file.c_str());
  {
    const portable::ScopedEnvironmentVariable log("DROVANEXIS_RECORDING_LOG", log_file);
    DROVANEXIS_NEW("3.3");
    DROVANEXIS_FREE(4);
  }

  std::ifstream in(log_file, std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(written, "Drovanexis_New(\"3.3\")\nDrovanexis_Free(4)\n");
  std::remove(log_file.c_str());
}

TEST_F(Bindings, ResultsCanComeFromTheFileNamedByTheEnvironment) {
  const std::string results_file = ::testing::TempDir() + "recording_results.txt";
  std::ofstream(results_file, std::ios::binary)
      << "Drovanexis_New=7\r\nDrovanexis_GetValue 9=Jos\xE9\nDrovanexis_CerTo64=TUlJ\n"
         "Drovanexis_GetValue x=ignored\nno equals sign\n";
  const portable::ScopedEnvironmentVariable results("DROVANEXIS_RECORDING_RESULTS", results_file);
  recording_.reset();  // read again at the next call

  EXPECT_EQ(DROVANEXIS_NEW("3.3"), 7);
  EXPECT_EQ(DROVANEXIS_GETVALUE(7, 9), "Jos\xE9");
  EXPECT_EQ(DROVANEXIS_GETVALUE(7, 10), "");
  EXPECT_EQ(DROVANEXIS_CERTO64("x.cer"), "TUlJ");
  EXPECT_EQ(DROVANEXIS_PROCESADOCUMENTO(7), 0);
  std::remove(results_file.c_str());
}

TEST(BindingErrors, AnEntryTheLibraryLacksNamesTheEntryAndTheFile) {
  recording::ScopedLibrary scoped(BINDING_RECORDING_MISSING_ENTRY_LIBRARY);
  try {
    DROVANEXIS_GETVALUE(1, 9);
    FAIL() << "no error for a missing entry";
  } catch (const binding::LibraryError& error) {
    EXPECT_THAT(error.what(), HasSubstr("\"Drovanexis_GetValue\""));
    EXPECT_THAT(error.what(), HasSubstr(BINDING_RECORDING_MISSING_ENTRY_LIBRARY));
  }
  // The rest of that library still answers.
  EXPECT_NO_THROW(DROVANEXIS_FREE(1));
}

TEST(BindingErrors, ALibraryThatCannotBeLoadedNamesTheFileAndTheReason) {
  struct Case {
    std::string file;
    std::string reason;
  };
  const Case cases[] = {
      {"/nonexistent-folder/libdrovanexis.so", "No such file or directory"},
      {CFDI_SOURCE_DIR "/binding/entry_list.inc", "invalid ELF header"},
  };
  for (const auto& c : cases) {
    recording::ScopedLibrary scoped(c.file);
    try {
      DROVANEXIS_NEW("3.3");
      ADD_FAILURE() << "no error for " << c.file;
    } catch (const binding::LibraryError& error) {
      EXPECT_THAT(error.what(), HasSubstr("\"" + c.file + "\""));
      EXPECT_THAT(error.what(), HasSubstr(c.reason));
    }
  }
}

// Each call hands the place of its call to the observer before it is made,
// so that the program can record the line of a call that fails.

std::vector<int>& observed_lines() {
  static std::vector<int> lines;
  return lines;
}

void observe(const std::source_location& call_site) {
  observed_lines().push_back(static_cast<int>(call_site.line()));
}

class CallSites : public Bindings {
 protected:
  CallSites() : previous_(binding::set_call_site_observer(observe)) { observed_lines().clear(); }
  ~CallSites() override { binding::set_call_site_observer(previous_); }

  binding::CallSiteObserver previous_;
};

TEST_F(CallSites, EachCallTellsTheObserverItsOwnLine) {
  const std::source_location elsewhere = std::source_location::current();
  const int first = __LINE__ + 1;
  DROVANEXIS_GETVALUE();
  DROVANEXIS_NEW("3.3");
  DROVANEXIS_SETEMISORINFO_CFDI33(1, std::string("CACX7605101P8"), "Empresa", "612");
  // A helper that calls for its own caller hands on the caller's place.
  DROVANEXIS_GETVALUE(binding::FirstArg(7, elsewhere), 9);
  EXPECT_EQ(observed_lines(),
            (std::vector<int>{first, first + 1, first + 2, static_cast<int>(elsewhere.line())}));
  EXPECT_EQ(last_call(), "Drovanexis_GetValue(7, 9)");

  binding::set_call_site_observer(nullptr);
  DROVANEXIS_FREE(7);
  EXPECT_EQ(observed_lines().size(), 4u);
}

TEST_F(CallSites, TheObserverIsToldBeforeTheLibraryIsLoaded) {
  recording::ScopedLibrary missing("/nonexistent-folder/libdrovanexis.so");
  const int line = __LINE__ + 1;
  EXPECT_THROW(DROVANEXIS_NEW("3.3"), binding::LibraryError);
  EXPECT_EQ(observed_lines(), std::vector<int>{line});
}

}  // namespace
