#include "tools/cli/help_texts.h"

#include <array>
#include <utility>

namespace cli {

namespace {

constexpr std::string_view kGeneral =
    R"(usage: drovanexis SUBCOMMAND [OPTIONS] [FILE...]
       drovanexis --help | --version

  validate FILE...        judge documents as a stamping provider would
  cadena [--tfd] FILE     print the original string of a document or its stamp
  check FILE...           verify the issuer's seal and the stamp's seal
  seal FILE...|DIR        seal unsealed documents with a CSD
  stamp FILE...|DIR       seal and stamp documents through the sandbox provider
  status FILE             ask the status of a stamped document
  cancel FILE             ask for the cancellation of a stamped document
  ack FILE                retrieve the acknowledgement of a cancellation
  balance                 the stamps left on an account
  cer64 CERTIFICATE       a certificate in Base64, as Certificado carries it
  qr FILE --out BMP       the QR code of a stamped document
  pdf FILE...             the printed form of documents as PDF files

Every subcommand takes --help, --json (one JSON document on standard output)
and --quiet (no progress bar). The sandbox's state file is Drovanexis.db in
the working folder, or the file DROVANEXIS_SANDBOX_DB names.

Exit codes: 0 all went well; 1 a document is not clean or failed;
2 a usage error or a file that cannot be read.
)";

constexpr std::array<std::pair<std::string_view, std::string_view>, 12> kCommands = {{
    {"validate", R"(usage: drovanexis validate [--json] FILE...

Judges each CFDI 3.3 document as a stamping provider judges it: schema, the
SAT's rules, the issuer's certificate (a CSD of the issuer's RFC, valid at the
document's Fecha) and its seal. The document is judged as of its own Fecha,
and a certificate from any authority is accepted, so that a correct document
stamped elsewhere passes. A stamp present is left to "check".

Prints "FILE: valid", or one line per finding:
  FILE: CODE NODE@ATTRIBUTE: message

Example:
  drovanexis validate factura.xml recibos/*.xml
)"},
    {"cadena", R"(usage: drovanexis cadena [--tfd] [--json] FILE

Prints the original string of the CFDI, 3.3 or 4.0 by the document's version
(with --tfd: of its stamp), on standard output, UTF-8, byte for byte, with no
newline added.

Example:
  drovanexis cadena factura.xml > cadena.txt
  drovanexis cadena --tfd factura-timbrada.xml
)"},
    {"check", R"(usage: drovanexis check [--pac-cer FILE] [--json] FILE...

Verifies the seals of each document: Sello over the original string with the
certificate in Certificado; for a stamped document, that SelloCFD equals Sello
and that SelloSAT verifies over the stamp's original string with the provider
certificate whose number is NoCertificadoSAT: the one given with --pac-cer, or
the sandbox's own.

Example:
  drovanexis check --pac-cer pac.cer factura-timbrada.xml
)"},
    {"seal",
     R"(usage: drovanexis seal --cer C --key K --password P [--jobs N] [--out DIR] FILE...|DIR

Seals unsealed CFDI files ("%cb_date" in Fecha becomes the time of central
Mexico). Each result goes into --out under its input's name, or beside its
input as NAME.sellado.xml. A folder stands for its *.xml files. A result that
exists and is sealed is skipped; a failed document is reported on standard
error, leaves no file and does not stop the others. The first file that cannot
be written stops the run; SIGINT or SIGTERM stops it after the group in hand.

Example:
  drovanexis seal --cer CSD.cer --key CSD.key --password 24681357q --out sellados recibos
)"},
    {"stamp",
     R"(usage: drovanexis stamp --cer C --key K --password P [--user U --secret S]
                        [--jobs N] [--out DIR] FILE...|DIR

Seals and stamps CFDI files through the sandbox provider, one stamp from the
account each (default account: demo_valdorin). Each result goes into --out
under its input's name, or beside its input as NAME.timbrado.xml. --jobs
(default: one per processor) sets how many documents are sealed at once.
Stamps are recorded in groups: each document's file is written and flushed
before its stamp is recorded, and put in place after, so that a document whose
file cannot be written costs no stamp. The first file that cannot be written
(a full, read-only or missing folder) stops the run.

An account stamps an input (same name, same bytes) once, however many runs
stamp it at once: a result that exists and is stamped is skipped, and an input
the provider already stamped is written from the ledger. The run can be
stopped and started again: SIGINT or SIGTERM (Ctrl-C) lets it finish the group
in hand, clear its temporary files and print its summary (exit status 128 + the
signal's number); a second one ends it at once. The next run goes on.

Example:
  drovanexis stamp --cer CSD.cer --key CSD.key --password 24681357q --jobs 2 --out timbrados nomina
)"},
    {"status", R"(usage: drovanexis status [--user U] [--json] FILE
       drovanexis status --uuid UUID --issuer RFC --receiver RFC --total TOTAL

Asks the provider the status of a stamped CFDI: CodigoEstatus, Estado
(Vigente, Cancelado, No Encontrado), EsCancelable (Cancelable sin aceptación,
Cancelable con aceptación, No cancelable), EstatusCancelacion (En proceso,
Plazo vencido, Cancelado con aceptación, Cancelado sin aceptación, Solicitud
rechazada) and ValidacionEFOS (200: the issuer is not on the list of
simulated operations). The CFDI is read from FILE or named by the options.

Example:
  drovanexis status factura-timbrada.xml
)"},
    {"cancel",
     R"(usage: drovanexis cancel --cer C --key K --password P --motivo M [--sustituto UUID]
                         [--user U] [--json] FILE
       drovanexis cancel --cer C --key K --password P --motivo M [--sustituto UUID]
                         --uuid UUID --issuer RFC --receiver RFC --total TOTAL

Asks for the cancellation of a stamped CFDI with the issuer's CSD. --motivo
says why, and is required:
  01  issued with errors, replaced: --sustituto names the UUID of the CFDI
      that replaces it, stamped for the same issuer, in force, and relating
      this one with TipoRelacion 04
  02  issued with errors, not replaced
  03  the operation did not take place
  04  a nominative operation included in a global invoice

The CFDI is cancelled at once where the rules allow it (small totals,
payroll, egresos, traslados, the general public, foreigners, or by the
business day after stamping); otherwise the request waits for the receiver,
who has three business days to accept or reject it (silence accepts).

Exit codes: 0 cancelled or request received; 1 refused (not cancellable,
not found, an unknown substitute or one of another issuer; nothing is
recorded) or failed; 2 a usage error (a missing or unknown --motivo,
--sustituto missing with 01 or given with another Motivo) or an unreadable
file.

Example:
  drovanexis cancel --cer CSD.cer --key CSD.key --password 24681357q --motivo 02 factura.xml
  drovanexis cancel --cer CSD.cer --key CSD.key --password 24681357q --motivo 01 \
                    --sustituto 5f1c0c2e-8d8e-4a4b-9d7e-0e6f3b2a1c90 factura.xml
)"},
    {"ack", R"(usage: drovanexis ack [--user U] [--out FILE] [--json] FILE
       drovanexis ack --uuid UUID --issuer RFC [--out FILE]

Retrieves the acknowledgement (acuse) of a cancellation; printed, or written to
--out.

Example:
  drovanexis ack --out acuse.xml factura-timbrada.xml
)"},
    {"balance", R"(usage: drovanexis balance [--user U --secret S] [--json]

Prints the stamps left on a sandbox account (default: demo_valdorin).

Example:
  drovanexis balance --user nomina --secret s3creto
)"},
    {"cer64", R"(usage: drovanexis cer64 [--json] CERTIFICATE

Prints the certificate (DER or PEM) in Base64, as a CFDI's Certificado
carries it; with --json also its number, RFC, holder and validity.

Example:
  drovanexis cer64 CSD_CACX7605101P8.cer
)"},
    {"qr", R"(usage: drovanexis qr --out BMP [--json] FILE
       drovanexis qr --out BMP --text TEXT

Writes the QR code of a stamped CFDI (the SAT's verification address with its
UUID, RFCs, total and the end of its seal) as a bitmap, or of any text.

Example:
  drovanexis qr --out factura.bmp factura-timbrada.xml
)"},
    {"pdf", R"(usage: drovanexis pdf [--out DIR|FILE] [--jobs N] [--json] FILE...

Writes the printed form of each CFDI as a letter-size PDF in Spanish: issuer,
receiver, the lines, taxes and totals (the total in words too), payment
terms, related CFDIs, a section per complement (payments, payroll, Carta
Porte; any other named with its version), the stamp's UUID and dates, the QR
code of the SAT's verification page (the same text as "drovanexis qr"), the
seals and the stamp's original string. A document without a stamp is printed
with a "SIN TIMBRAR" mark on every page and no QR code.

Each PDF goes beside its input as NAME.pdf, into the folder --out names, or,
for a single FILE, to the file --out names. A PDF never replaces an input of
the run or the sandbox's state file; it is written whole or not at all.
--jobs (default: one per processor) sets how many are drawn at once.

Example:
  drovanexis pdf --out impresos factura-timbrada.xml nomina/*.timbrado.xml
)"},
}};

}  // namespace

std::string_view general_help() { return kGeneral; }

std::string_view command_help(std::string_view subcommand) {
  for (const auto& [name, text] : kCommands) {
    if (name == subcommand) return text;
  }
  return {};
}

std::string_view version_text() { return "drovanexis " DROVANEXIS_VERSION "\n"; }

}  // namespace cli
