// The drovanexis command line as a user runs it: the real executable in a
// working folder prepared by "drovanexis-sandbox init", judged by its exit
// code, standard output and standard error.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tools/cli_test_support.h"

namespace {

using namespace cli_test;
using cli_test::drovanexis;  // the program, not the namespace

// --- usage, help and errors --------------------------------------------

TEST_F(CliTest, UsageErrorsAndHelp) {
  struct Case {
    std::vector<std::string> args;
    int exit_code;
    std::string in_out;
    std::string in_err;
  } cases[] = {
      {{}, 2, "", "missing subcommand"},
      {{"frob"}, 2, "", "unknown subcommand \"frob\""},
      {{"validate", "--frob", "x.xml"}, 2, "", "unknown option --frob"},
      {{"--help"}, 0, "Exit codes", ""},
      {{"stamp", "--help"}, 0, "Example:", ""},
      {{"validate", "no-such.xml"}, 2, "", "no-such.xml: cannot open"},
      {{"cadena", "no-such.xml"}, 2, "", "no-such.xml: cannot open"},
      {{"check", "."}, 2, "", "is a folder"},
      {{"cer64", "no-such.cer"}, 2, "", "no-such.cer"},
      {{"stamp", "--cer", "CSD_CACX7605101P8.cer", "--key", "CSD_CACX7605101P8.key", "--password",
        "wrong", "ejemploexterno.xml"},
       2,
       "",
       "password"},
      {{"stamp", "--cer", "CSD_CACX7605101P8.cer", "--key", "CSD_KIJ0906199R1.key", "--password",
        kPassword, "ejemploexterno.xml"},
       2,
       "",
       "CSD_KIJ0906199R1.key"},
      {{"stamp", "--cer", "CSD_CACX7605101P8.cer", "--key", "CSD_CACX7605101P8.key", "--password",
        kPassword, "--jobs", "0", "ejemploexterno.xml"},
       2,
       "",
       "--jobs"},
      {{"balance", "--user", "nobody"}, 1, "", "701"},
  };
  for (const auto& c : cases) {
    std::string joined;
    for (const auto& a : c.args) joined += a + " ";
    const Outcome result = drovanexis(c.args);
    EXPECT_EQ(result.exit_code, c.exit_code) << joined << "\n" << result.err;
    EXPECT_NE(result.out.find(c.in_out), std::string::npos) << joined << "\n" << result.out;
    EXPECT_NE(result.err.find(c.in_err), std::string::npos) << joined << "\n" << result.err;
  }
}

// --- services ----------------------------------------------------------------

TEST_F(CliTest, ServicesAnswerInTextAndJson) {
  stamp_one();
  const Outcome balance = drovanexis({"balance", "--json"});
  EXPECT_EQ(balance.exit_code, 0) << balance.err;
  EXPECT_EQ(balance.out, "{\"user\":\"demo_valdorin\",\"balance\":999}\n");

  const Outcome status = drovanexis({"status", "factura.timbrado.xml"});
  EXPECT_EQ(status.exit_code, 0) << status.err;
  EXPECT_NE(status.out.find("Vigente"), std::string::npos) << status.out;

  auto cancel_args = credentials();
  cancel_args.insert(cancel_args.begin(), "cancel");
  cancel_args.push_back("factura.timbrado.xml");
  cancel_args.push_back("--motivo");
  cancel_args.push_back("02");
  cancel_args.push_back("--json");
  const Outcome cancel = drovanexis(cancel_args);
  EXPECT_EQ(cancel.exit_code, 0) << cancel.err << cancel.out;
  EXPECT_TRUE(cancel.out.starts_with("{\"result\":")) << cancel.out;

  const Outcome unknown =
      drovanexis({"status", "--uuid", "00000000-0000-4000-8000-000000000000", "--issuer",
                  "CACX7605101P8", "--receiver", "XAXX010101000", "--total", "1.00"});
  EXPECT_EQ(unknown.exit_code, 1) << unknown.out << unknown.err;

  const Outcome ack = drovanexis({"ack", "--uuid", "F94FE4AC-4743-4745-BA99-E0D13100331D",
                                  "--issuer", "AAA010101AAA", "--out", "acuse.xml"});
  EXPECT_EQ(ack.exit_code, 0) << ack.out << ack.err;
  EXPECT_NE(read_file("acuse.xml").find("F94FE4AC"), std::string::npos);

  const Outcome cer64 = drovanexis({"cer64", "CSD_CACX7605101P8.cer", "--json"});
  EXPECT_EQ(cer64.exit_code, 0) << cer64.err;
  EXPECT_NE(cer64.out.find("\"rfc\":\"CACX7605101P8\""), std::string::npos) << cer64.out;

  const Outcome qr = drovanexis({"qr", "--out", "qr.bmp", "factura.timbrado.xml"});
  EXPECT_EQ(qr.exit_code, 0) << qr.err;
  EXPECT_EQ(read_file("qr.bmp").substr(0, 2), "BM");
  EXPECT_NE(qr.out.find("&re=CACX7605101P8"), std::string::npos) << qr.out;
}

// The stamp's UUID in a stamped file.
std::string stamp_uuid(const std::string& stamped) {
  const auto stamp = stamped.find("tfd:TimbreFiscalDigital");
  const auto at = stamped.find(" UUID=\"", stamp);
  return stamped.substr(at + 7, 36);
}

// The Motivo and the replacing document: what the options alone tell is a
// usage error, what the ledger tells is a refusal; neither records anything.
TEST_F(CliTest, CancelTakesAMotivoAndItsReplacement) {
  stamp_one();
  const std::string cancelled = stamp_uuid(read_file("factura.timbrado.xml"));
  const auto cancel = [&](std::vector<std::string> options) {
    auto args = credentials();
    args.insert(args.begin(), "cancel");
    args.insert(args.end(), options.begin(), options.end());
    args.push_back("factura.timbrado.xml");
    return drovanexis(args);
  };
  struct Case {
    std::vector<std::string> options;
    int exit_code;
    std::string in_err;
  } const refused[] = {
      {{}, 2, "missing option --motivo"},
      {{"--motivo", "05"}, 2, "--motivo \"05\" is not a Motivo"},
      {{"--motivo", "1"}, 2, "is not a Motivo"},
      {{"--motivo", "01"}, 2, "--motivo 01 needs --sustituto"},
      {{"--motivo", "02", "--sustituto", cancelled}, 2, "--sustituto goes only with --motivo 01"},
      {{"--motivo", "01", "--sustituto", "00000000-0000-4000-8000-000000000000"},
       1,
       "no existe un CFDI timbrado"},
      // The sample documents: one of this issuer that does not relate the
      // invoice, one of another issuer.
      {{"--motivo", "01", "--sustituto", "b9b2902e-2f4f-4e9f-b959-6aa615b92ae3"},
       1,
       "no relaciona al CFDI"},
      {{"--motivo", "01", "--sustituto", "F94FE4AC-4743-4745-BA99-E0D13100331D"},
       1,
       "es del emisor AAA010101AAA"},
  };
  for (const Case& c : refused) {
    std::string joined;
    for (const auto& a : c.options) joined += a + " ";
    const Outcome result = cancel(c.options);
    EXPECT_EQ(result.exit_code, c.exit_code) << joined << "\n" << result.out << result.err;
    EXPECT_NE(result.err.find(c.in_err), std::string::npos) << joined << "\n" << result.err;
  }
  const Outcome untouched = drovanexis({"status", "--json", "factura.timbrado.xml"});
  EXPECT_NE(untouched.out.find("\"Estado\":\"Vigente\""), std::string::npos) << untouched.out;
  EXPECT_NE(untouched.out.find("\"EstatusCancelacion\":\"\""), std::string::npos) << untouched.out;
  EXPECT_NE(untouched.out.find("\"ValidacionEFOS\":\"200\""), std::string::npos) << untouched.out;
  EXPECT_EQ(drovanexis({"ack", "factura.timbrado.xml"}).exit_code, 1) << "no acknowledgement";

  // The replacing invoice relates the cancelled one with TipoRelacion 04.
  std::string replacement = sample_;
  replacement.replace(replacement.find("Folio=\"1001\""), 12, "Folio=\"1002\"");
  replacement.insert(replacement.find("<cfdi:Emisor"),
                     "<cfdi:CfdiRelacionados TipoRelacion=\"04\"><cfdi:CfdiRelacionado UUID=\"" +
                         cancelled + "\"/></cfdi:CfdiRelacionados>");
  write_file("sustituto.xml", replacement);
  auto stamp_args = credentials();
  stamp_args.insert(stamp_args.begin(), "stamp");
  stamp_args.push_back("sustituto.xml");
  const Outcome stamped = drovanexis(stamp_args);
  ASSERT_EQ(stamped.exit_code, 0) << stamped.out << stamped.err;
  const std::string replacing = stamp_uuid(read_file("sustituto.timbrado.xml"));

  const Outcome done = cancel({"--motivo", "01", "--sustituto", replacing});
  EXPECT_EQ(done.exit_code, 0) << done.out << done.err;
  EXPECT_NE(done.out.find("Motivo: 01"), std::string::npos) << done.out;
  EXPECT_NE(done.out.find("FolioSustitucion: " + replacing), std::string::npos) << done.out;
  const Outcome after = drovanexis({"status", "factura.timbrado.xml"});
  EXPECT_NE(after.out.find("EstatusCancelacion: Cancelado sin aceptación"), std::string::npos)
      << after.out;
  EXPECT_NE(after.out.find("ValidacionEFOS: 200"), std::string::npos) << after.out;

  // Only a request that awaits the receiver can be answered.
  const fs::path tool = kBin / "drovanexis-sandbox";
  const Outcome reject = run(tool, {"reject", cancelled});
  EXPECT_EQ(reject.exit_code, 1);
  EXPECT_NE(reject.err.find("no cancellation request awaiting its receiver"), std::string::npos)
      << reject.err;
  EXPECT_EQ(run(tool, {"accept", cancelled, "--frob"}).exit_code, 2);
}

TEST_F(CliTest, SandboxAccountCreatesAndSetsBalances) {
  const fs::path tool = kBin / "drovanexis-sandbox";
  EXPECT_EQ(run(tool, {"account", "nomina", "--password", "s3creto", "--stamps", "5"}).exit_code,
            0);
  EXPECT_EQ(drovanexis({"balance", "--user", "nomina", "--secret", "s3creto"}).out,
            "nomina: 5 stamps left\n");
  EXPECT_EQ(drovanexis({"balance", "--user", "nomina", "--secret", "wrong"}).exit_code, 1);
  EXPECT_EQ(run(tool, {"account", "nomina", "--stamps", "7"}).exit_code, 0);
  EXPECT_EQ(drovanexis({"balance", "--user", "nomina", "--secret", "s3creto"}).out,
            "nomina: 7 stamps left\n");
  EXPECT_EQ(run(tool, {"account", "nadie", "--stamps", "7"}).exit_code, 2);
  EXPECT_EQ(run(tool, {"account", "nomina", "--stamps", "-1"}).exit_code, 2);
}

// --- judging files ----------------------------------------------------------

TEST_F(CliTest, CheckVerifiesBothSealsAndFindsTampering) {
  stamp_one();
  const Outcome good = drovanexis({"check", "factura.timbrado.xml"});
  EXPECT_EQ(good.exit_code, 0) << good.out << good.err;
  EXPECT_NE(good.out.find("SelloSAT OK"), std::string::npos) << good.out;

  std::string text = read_file("factura.timbrado.xml");
  text.replace(text.find("Total=\"1740.00\""), 15, "Total=\"1741.00\"");
  write_file("alterada.xml", text);
  const Outcome bad = drovanexis({"check", "alterada.xml", "--json"});
  EXPECT_EQ(bad.exit_code, 1);
  EXPECT_NE(bad.out.find("{\"check\":\"Sello\",\"ok\":false"), std::string::npos) << bad.out;
}

// The 3.3 and the 4.0 examples alike: cadena-cfdi picks the stylesheet of
// each document's version, as the command does.
TEST_F(CliTest, CadenaEqualsTheSatStylesheets) {
  if (!have_sat()) GTEST_SKIP() << kSat << " absent";
  stamp_one();
  std::vector<fs::path> files{"factura.timbrado.xml"};
  for (const auto& entry : fs::directory_iterator(kSat / "examples")) {
    if (entry.path().extension() == ".xml") files.push_back(entry.path());
  }
  ASSERT_GE(files.size(), 11u);
  for (const auto& file : files) {
    const Outcome ours = drovanexis({"cadena", file.string()});
    const Outcome sat = run(kSat / "bin" / "cadena-cfdi", {file.string()});
    ASSERT_EQ(sat.exit_code, 0) << sat.err;
    EXPECT_EQ(ours.exit_code, 0) << ours.err;
    EXPECT_EQ(ours.out, sat.out) << file;
    const Outcome ours_tfd = drovanexis({"cadena", "--tfd", file.string()});
    const Outcome sat_tfd = run(kSat / "bin" / "cadena-tfd11", {file.string()});
    EXPECT_EQ(ours_tfd.out, sat_tfd.out) << file;
  }
  const Outcome unstamped = drovanexis({"cadena", "--tfd", "ejemploexterno.xml"});
  EXPECT_EQ(unstamped.exit_code, 1);
  EXPECT_NE(unstamped.err.find("no stamp"), std::string::npos);
}

// The QR text of a stamped 4.0 document is the SAT's verification address
// with the same fields as for 3.3, read from the document.
TEST_F(CliTest, QrOfA40DocumentIsTheVerificationAddress) {
  if (!have_sat()) GTEST_SKIP() << kSat << " absent";
  for (const char* name : {"cfdi40-ingreso.xml", "cfdi40-pagos20.xml"}) {
    const fs::path file = kSat / "examples" / name;
    const std::string text = read_file(file);
    const auto attribute = [&](const std::string& element, const std::string& attr) {
      const std::size_t at = text.find("<" + element);
      const std::size_t from = text.find(" " + attr + "=\"", at) + attr.size() + 3;
      return text.substr(from, text.find('"', from) - from);
    };
    const std::string seal = attribute("cfdi:Comprobante", "Sello");
    const std::string expected =
        "https://verificacfdi.facturaelectronica.sat.gob.mx/default.aspx?id=" +
        attribute("tfd:TimbreFiscalDigital", "UUID") +
        "&re=" + attribute("cfdi:Emisor", "Rfc") + "&rr=" + attribute("cfdi:Receptor", "Rfc") +
        "&tt=" + attribute("cfdi:Comprobante", "Total") + "&fe=" + seal.substr(seal.size() - 8);
    const Outcome qr = drovanexis({"qr", "--json", "--out", "qr40.bmp", file.string()});
    ASSERT_EQ(qr.exit_code, 0) << qr.err;
    EXPECT_NE(qr.out.find("\"content\":\"" + expected + "\""), std::string::npos)
        << qr.out << "\nexpected " << expected;
    EXPECT_EQ(read_file("qr40.bmp").substr(0, 2), "BM");
  }
}

// A CFDI 4.0 is judged by the 4.0 schemas and rules; a clean one names the
// complements whose rules were not checked, and a root whose namespace and
// Version disagree is refused.
TEST_F(CliTest, ValidateJudgesA40DocumentAndNamesTheComplementsLeftUnchecked) {
  if (!have_sat()) GTEST_SKIP() << kSat << " absent";
  const std::string good = read_file(kSat / "examples" / "cfdi40-global.xml");
  auto changed = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  struct Case {
    std::string name;
    std::string text;
    int exit_code;
    std::string expected;  // a part of the output
  } cases[] = {
      {"global.xml", good, 0, "global.xml: valid\n"},
      {"sin-exportacion.xml", changed("Exportacion=\"01\"", ""), 1,
       "301 cfdi:Comprobante@Exportacion: Esquema (atributo obligatorio)"},
      {"version-33.xml", changed("Version=\"4.0\"", "Version=\"3.3\""), 1,
       "está en el espacio de nombres http://www.sat.gob.mx/cfd/4 y su Version es \"3.3\""},
  };
  for (const auto& c : cases) {
    write_file(c.name, c.text);
    const Outcome ours = drovanexis({"validate", c.name});
    EXPECT_EQ(ours.exit_code, c.exit_code) << c.name << "\n" << ours.out << ours.err;
    EXPECT_NE(ours.out.find(c.expected), std::string::npos) << c.name << "\n" << ours.out;
    EXPECT_EQ(ours.out.find("warning"), std::string::npos) << c.name << "\n" << ours.out;
    const Outcome sat = run(kSat / "bin" / "validate-cfdi40", {c.name});
    EXPECT_EQ(sat.exit_code, c.exit_code) << c.name << sat.err;
  }
  // The kit's 4.0 examples, as stamped, are clean; each complement without
  // rules yet is named.
  const std::pair<const char*, const char*> examples[] = {
      {"cfdi40-ingreso.xml", ""},
      {"cfdi40-global.xml", ""},
      {"cfdi40-pagos20.xml", "Pagos 2.0"},
      {"cfdi40-nomina12.xml", "Nómina 1.2"},
      {"cfdi40-cartaporte31.xml", "Carta Porte 3.1"},
  };
  for (const auto& [file, complement] : examples) {
    const std::string path = (kSat / "examples" / file).string();
    const Outcome ours = drovanexis({"validate", path});
    EXPECT_EQ(ours.exit_code, 0) << file << "\n" << ours.out << ours.err;
    std::string expected = path + ": valid\n";
    if (*complement != '\0') {
      expected += path + ": warning: the business rules of the " + complement +
                  " complement are not checked yet; only its schema was\n";
    }
    EXPECT_EQ(ours.out, expected) << file;
  }
  // A broken rule of the 4.0 matrix is found.
  write_file("total.xml", changed("Total=\"536.00\"", "Total=\"536.01\""));
  const Outcome total = drovanexis({"validate", "total.xml"});
  EXPECT_EQ(total.exit_code, 1);
  EXPECT_NE(total.out.find("CFDI40119 cfdi:Comprobante@Total"), std::string::npos) << total.out;
}

TEST_F(CliTest, ValidateAgreesWithTheSchemaOracle) {
  if (!have_sat()) GTEST_SKIP() << kSat << " absent";
  stamp_one();
  const std::string good = read_file("factura.timbrado.xml");
  auto broken = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  struct Case {
    std::string name;
    std::string text;
    bool valid;
  } cases[] = {
      {"good.xml", good, true},
      {"no-moneda.xml", broken("Moneda=\"MXN\" ", ""), false},
      {"tipo-z.xml", broken("TipoDeComprobante=\"I\"", "TipoDeComprobante=\"Z\""), false},
      {"bad-rfc.xml", broken("Rfc=\"CACX7605101P8\"", "Rfc=\"??\""), false},
  };
  for (const auto& c : cases) {
    write_file(c.name, c.text);
    const Outcome ours = drovanexis({"validate", c.name});
    const Outcome sat = run(kSat / "bin" / "validate-cfdi33", {c.name});
    EXPECT_EQ(sat.exit_code, c.valid ? 0 : 1) << c.name << sat.err;
    EXPECT_EQ(ours.exit_code, c.valid ? 0 : 1) << c.name << "\n" << ours.out << ours.err;
  }
  // An example stamped elsewhere, long ago, with another authority's CSD.
  const fs::path example = kSat / "examples" / "cfdi33-ingreso.xml";
  const Outcome elsewhere = drovanexis({"validate", "--json", example.string()});
  EXPECT_EQ(elsewhere.exit_code,
            run(kSat / "bin" / "validate-cfdi33", {example.string()}).exit_code)
      << elsewhere.out;
}

}  // namespace
