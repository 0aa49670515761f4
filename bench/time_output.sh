# Sourced by the printing benchmarks: reads what `/usr/bin/time -v` wrote.

# "seconds KB" (wall time, peak resident set) from a /usr/bin/time -v output file.
measured() {
    awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0;
                    for (i = 1; i <= n; ++i) s = s * 60 + t[i]; wall = s }
                /Maximum resident set size/ { rss = $2 }
                END { printf "%.2f %d\n", wall, rss }' "$1"
}

# CPU seconds (user + system, children included) from a /usr/bin/time -v
# output file: steadier than the wall time when other work shares the cores.
cpu_seconds() {
    awk -F': ' '/User time \(seconds\)|System time \(seconds\)/ { s += $2 }
                END { printf "%.2f\n", s }' "$1"
}
