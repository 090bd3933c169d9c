# One case of morvane-convert run as a process, from a fresh folder WORK:
#   cmake -DCASE=name -DPROGRAM=path [-DEMULATOR=wine-run] -DWORK=folder -P program_test.cmake
# Checks the exit status, what reaches standard output and standard error,
# and the files written.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/out)

# Runs the program with the arguments given; sets status, out (hex), err.
function(run_program)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "INPUT" "ARGS")
  set(input_option)
  if(arg_INPUT)
    set(input_option INPUT_FILE ${WORK}/${arg_INPUT})
  endif()
  execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${arg_ARGS}
                  WORKING_DIRECTORY ${WORK}
                  ${input_option}
                  OUTPUT_FILE ${WORK}/stdout
                  ERROR_VARIABLE err
                  RESULT_VARIABLE status)
  file(READ ${WORK}/stdout out HEX)
  set(status "${status}" PARENT_SCOPE)
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(hex_of text result)
  string(HEX "${text}" hex)
  set(${result} "${hex}" PARENT_SCOPE)
endfunction()

function(expect what actual expected)
  if(NOT "${actual}" STREQUAL "${expected}")
    message(FATAL_ERROR "${CASE}: ${what} is\n  ${actual}\nexpected\n  ${expected}")
  endif()
endfunction()

function(expect_match what actual pattern)
  if(NOT "${actual}" MATCHES "${pattern}")
    message(FATAL_ERROR "${CASE}: ${what} is\n  ${actual}\nexpected to match\n  ${pattern}")
  endif()
endfunction()

function(expect_file name expected)
  if(NOT EXISTS ${WORK}/${name})
    message(FATAL_ERROR "${CASE}: ${name} was not written")
  endif()
  file(READ ${WORK}/${name} actual HEX)
  hex_of("${expected}" expected_hex)
  expect("${name}" "${actual}" "${expected_hex}")
endfunction()

# The inputs are UTF-8 (written by this script), the results GBK:
# 小星星 is D0A1 D0C7 D0C7.
set(score_utf8 "1 2 3 0 5\n小星星 !")
set(manual_gbk_hex "5120572045202d2d2d2d20540ad0a1d0c7d0c72031")

if(CASE STREQUAL "version")
  run_program(ARGS --version)
  expect("status" "${status}" 0)
  hex_of("morvane-convert 4\n" version_hex)
  expect("standard output" "${out}" "${version_hex}")
  expect("standard error" "${err}" "")

elseif(CASE STREQUAL "help")
  run_program(ARGS --help)
  expect("status" "${status}" 0)
  hex_of("Usage: morvane-convert manual|auto [OPTION]... [FILE]...\n" usage_hex)
  expect_match("standard output" "${out}" "^${usage_hex}")
  expect("standard error" "${err}" "")

elseif(CASE STREQUAL "bad_option")
  run_program(ARGS manual --bogus)
  expect("status" "${status}" 2)
  expect("standard output" "${out}" "")
  expect("standard error" "${err}"
         "morvane-convert: unknown option '--bogus'\nTry 'morvane-convert --help' for more information.\n")

elseif(CASE STREQUAL "output_folder")
  file(WRITE ${WORK}/a.txt "${score_utf8}")
  file(WRITE ${WORK}/b.txt "5mx。 3_")
  run_program(ARGS auto -o out a.txt b.txt)
  expect("status" "${status}" 0)
  expect("standard output" "${out}" "")
  expect("standard error" "${err}" "")
  file(READ ${WORK}/out/a.txt a_hex HEX)
  expect("out/a.txt" "${a_hex}" "3120322033203020350ad0a1d0c7d0c72021")
  expect_file(out/b.txt "5,3;[0.5]; 3,2;")
  file(GLOB written RELATIVE ${WORK}/out ${WORK}/out/*)
  list(SORT written)
  expect("the files in out" "${written}" "a.txt;b.txt")

elseif(CASE STREQUAL "unreadable_input")
  file(WRITE ${WORK}/a.txt "1 2 3")
  run_program(ARGS manual -o out a.txt missing.txt)
  expect("status" "${status}" 2)
  expect("standard error" "${err}"
         "morvane-convert: missing.txt: cannot read: no such file\nmorvane-convert: nothing written\n")
  file(GLOB written ${WORK}/out/*)
  expect("the files in out" "${written}" "")

elseif(CASE STREQUAL "standard_streams")
  file(WRITE ${WORK}/in.txt "${score_utf8}")
  run_program(ARGS manual INPUT in.txt)
  expect("status" "${status}" 0)
  expect("standard output" "${out}" "${manual_gbk_hex}")
  run_program(ARGS manual --utf8 - INPUT in.txt)
  expect("status" "${status}" 0)
  hex_of("Q W E ---- T\n小星星 1" utf8_hex)
  expect("standard output" "${out}" "${utf8_hex}")

elseif(CASE STREQUAL "check")
  file(WRITE ${WORK}/in.txt "1 2 8\r\n小星星 ！ 9")
  run_program(ARGS manual --check in.txt)
  expect("status" "${status}" 1)
  hex_of("in.txt:1:5: \"8\"\nin.txt:2:1: \"小星星\"\nin.txt:2:7: \"9\"\n" report_hex)
  expect("standard output" "${out}" "${report_hex}")
  run_program(ARGS auto --check - INPUT in.txt)
  expect("status" "${status}" 1)
  hex_of("<stdin>:1:5: \"8\"\n<stdin>:2:1: \"小星星\"\n<stdin>:2:5: \"！\"\n<stdin>:2:7: \"9\"\n" report_hex)
  expect("standard output" "${out}" "${report_hex}")

else()
  message(FATAL_ERROR "no case ${CASE}")
endif()
