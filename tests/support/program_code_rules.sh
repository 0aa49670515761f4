#!/usr/bin/env bash
# Program code reaches the system only through the platform layer, and uses
# one naming and one error-number convention; the wall clock, the paper file
# and the environment are read in the POSIX backend alone, so a test can fix
# all three. Fails listing each breach.
set -u
cd "$(dirname "$0")/../.."
program_code=(common repview webhop tabulo jotwell sendwell)
status=0
breach() {  # description, pattern[, folders]
  local found
  folders=("${@:3}")
  [ ${#folders[@]} -eq 0 ] && folders=("${program_code[@]}")
  found=$(grep -rnE --include='*.cpp' --include='*.h' "$2" "${folders[@]}" 2>/dev/null)
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
# Everything but the POSIX backend: engines, printing, Qt and X11 backends.
not_posix=(engines $(find platform -mindepth 1 -maxdepth 1 -type d ! -name posix) $(find platform -maxdepth 1 -type f))
breach "environment read outside the POSIX backend" '\bgetenv\b|\bsecure_getenv\b|\benviron\b' "${not_posix[@]}"
breach "the wall clock read outside the POSIX backend" '\btime\(|\bclock_gettime\b|\blocaltime(_r)?\b|std::chrono::system_clock' "${not_posix[@]}"
breach "the paper file read outside the POSIX backend" '/etc/papersize' "${not_posix[@]}" common repview webhop tabulo jotwell sendwell
exit $status
