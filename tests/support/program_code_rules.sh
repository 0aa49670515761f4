#!/usr/bin/env bash
# Program code reaches the system only through the platform layer, and uses
# one naming and one error-number convention: fails listing each breach.
set -u
cd "$(dirname "$0")/../.."
program_code=(common repview webhop tabulo jotwell sendwell)
status=0
breach() {  # description, pattern
  local found
  found=$(grep -rnE --include='*.cpp' --include='*.h' "$2" "${program_code[@]}" 2>/dev/null)
  if [ -n "$found" ]; then
    echo "$1:"
    echo "$found"
    status=1
  fi
}
breach "environment read outside main's settings" '\bgetenv\b|\bsecure_getenv\b'
breach "files opened around the file layer" '\bfopen\b|\bstd::ifstream\b|\bstd::ofstream\b|\bstd::fstream\b|\b(l)?stat\(|[^.]\bremove\('
breach "std::filesystem in program code" 'std::filesystem|<filesystem>'
breach "the clock read around the clock layer" '\btime\(|\bclock_gettime\b|\blocaltime(_r)?\b|std::chrono::system_clock'
breach "the old program's routine names as identifiers" '[A-Za-z]+_Click\b'
breach "bare run-time error numbers" 'RunTimeError\([0-9]'
exit $status
