# Writes the manual page of a tool from its own --help text, so that the two
# never disagree. Run with cmake -P and:
#   TOOL     the executable
#   NAME     its name;  SUMMARY  one line for NAME;  VERSION  the project version
#   SUBCOMMANDS  ON when each subcommand listed in the help has a help of its own
#   OUT      the page to write
# The help's usage lines become SYNOPSIS, its paragraph "Exit codes: ..." the
# section EXIT STATUS, and the rest DESCRIPTION.

function(run_help out_var)
  execute_process(COMMAND "${TOOL}" ${ARGN} --help
    OUTPUT_VARIABLE text ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${TOOL} ${ARGN} --help failed (${status}): ${errors}")
  endif()
  set(${out_var} "${text}" PARENT_SCOPE)
endfunction()

# Text as roff shows it verbatim: backslashes and minus signs escaped, a line
# that starts with a control character guarded.
function(roff_verbatim out_var text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out_var} "${text}" PARENT_SCOPE)
endfunction()

run_help(help)
# Cut the help into paragraphs at blank lines; CMake lists need ';' escaped.
string(REPLACE ";" "\\;" help "${help}")
string(REGEX REPLACE "\n\n+" ";" paragraphs "${help}")

set(synopsis "")
set(description "")
set(exit_status "")
set(subcommands "")
foreach(paragraph IN LISTS paragraphs)
  string(REPLACE "\\;" ";" paragraph "${paragraph}")
  string(STRIP "${paragraph}" stripped)
  if(stripped MATCHES "^usage:" AND synopsis STREQUAL "")
    string(REGEX REPLACE "^usage: +" "" synopsis "${stripped}")
    string(REGEX REPLACE "\n +" "\n" synopsis "${synopsis}")
  elseif(stripped MATCHES "^Exit codes:")
    string(REGEX REPLACE "^Exit codes: *" "" exit_status "${stripped}")
  else()
    string(APPEND description "${paragraph}\n\n")
    if(SUBCOMMANDS)
      string(REGEX MATCHALL "(^|\n)  [a-z][a-z0-9]* " names "${paragraph}")
      foreach(name IN LISTS names)
        string(STRIP "${name}" name)
        list(APPEND subcommands "${name}")
      endforeach()
    endif()
  endif()
endforeach()
string(REGEX REPLACE "\n+$" "" description "${description}")
if(synopsis STREQUAL "" OR exit_status STREQUAL "")
  message(FATAL_ERROR "${TOOL} --help has no usage line or no \"Exit codes:\" paragraph")
endif()

string(TOUPPER "${NAME}" title)
roff_verbatim(synopsis "${synopsis}")
roff_verbatim(description "${description}")
roff_verbatim(exit_status "${exit_status}")
roff_verbatim(summary "${SUMMARY}")
roff_verbatim(name "${NAME}")
set(page ".TH ${title} 1 \"\" \"${name} ${VERSION}\" \"User Commands\"
.SH NAME
${name} \\- ${summary}
.SH SYNOPSIS
.nf
${synopsis}
.fi
.SH DESCRIPTION
.nf
${description}
.fi
")
if(subcommands)
  string(APPEND page ".SH SUBCOMMANDS\n")
  foreach(subcommand IN LISTS subcommands)
    run_help(text "${subcommand}")
    string(STRIP "${text}" text)
    roff_verbatim(text "${text}")
    string(APPEND page ".SS ${subcommand}\n.nf\n${text}\n.fi\n")
  endforeach()
endif()
string(APPEND page ".SH \"EXIT STATUS\"\n${exit_status}\n")
file(WRITE "${OUT}.tmp" "${page}")
file(RENAME "${OUT}.tmp" "${OUT}")
