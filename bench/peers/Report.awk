# The report of bench/peers.sh from its two tables of runs, each a header line
# of column names and one line per run: the engine's (engine_bench tsv) and the
# peer's (the no-op's, the empty installer's and NSIS's times). Medians, and the
# ratios on the same work.
#   gawk -v installer=BYTES -v stub=BYTES -f Report.awk ENGINE_RUNS NSIS_RUNS
FNR == 1 { for (i = 1; i <= NF; i++) names[FILENAME, i] = $i; next }
{ rows = FNR - 1; for (i = 1; i <= NF; i++) cell[names[FILENAME, i], rows] = $i }
function median(values,   sorted, n) {
    n = asort(values, sorted, "@val_num_asc")
    return n % 2 ? sorted[(n + 1) / 2] : (sorted[n / 2] + sorted[n / 2 + 1]) / 2
}
function fastest(values,   sorted) { asort(values, sorted, "@val_num_asc"); return sorted[1] }
function column(name, out,   r) { delete out; for (r = 1; r <= rows; r++) out[r] = cell[name, r] }
function line(label, ms) { printf "  %-42s %7.1f ms\n", label, ms }
function step(name,   v) { column(name, v); line(name, median(v)) }
# Our work against the peer's runs less a baseline's, on medians and on the
# fastest runs; a peer no slower than its baseline leaves no ratio ("-").
function quotient(ours, theirs) { return theirs > 0 ? sprintf("%.2f", ours / theirs) : "-" }
function ratio(label, ours, peer, baseline, oursFast) {
    printf "%-46s %5s   fastest runs %s   (target <= 1.00, goal 0.50)\n", label,
           quotient(ours, median(peer) - median(baseline)), quotient(oursFast, fastest(peer) - fastest(baseline))
}
END {
    # The pumping of a run is timed apart from its sequence: take off its median
    # (its fastest, from the fastest runs), not the run's own figure.
    column("pumping", p)
    pumping = median(p)
    pumpingFast = fastest(p)
    for (r = 1; r <= rows; r++) {
        ourInstall[r] = cell["install", r] - cell["driver_installation", r]
        ourRemoval[r] = cell["removal", r] - cell["removing_the_adapter_device", r]
        noop[r] = cell["noop_before_install", r]
        noop[rows + r] = cell["noop_before_removal", r]
        empty[r] = cell["empty_before_install", r]
        empty[rows + r] = cell["empty_before_removal", r]
        failed = failed || cell["all_done", r] != 1
    }
    column("nsis_install", nsisInstall)
    column("nsis_removal", nsisRemoval)
    printf "%d interleaved runs on one prefix; medians\n\n", rows
    printf "GUI no-op program, start to end:     %7.1f ms (fastest %.1f)\n", median(noop), fastest(noop)
    printf "empty NSIS installer, start to end:  %7.1f ms (fastest %.1f)\n", median(empty), fastest(empty)
    printf "NSIS silent install, start to end:   %7.1f ms: work %.1f ms over the no-op, %.1f over the empty one\n",
           median(nsisInstall), median(nsisInstall) - median(noop), median(nsisInstall) - median(empty)
    printf "NSIS silent removal, start to end:   %7.1f ms: work %.1f ms over the no-op, %.1f over the empty one\n\n",
           median(nsisRemoval), median(nsisRemoval) - median(noop), median(nsisRemoval) - median(empty)
    column("install", v)
    printf "engine install sequence:             %7.1f ms, %.1f ms of it the mandated 2 x PumpWait(10)\n",
           median(v), pumping
    column("copying_files", v)
    line("copying_files, pumping excluded", median(v) - pumping)
    step("building_the_shortcut")
    step("network_settings")
    step("registering_the_uninstall_entry")
    line("the work NSIS does (no pumping, no driver)", median(ourInstall) - pumping)
    step("driver_installation")
    column("removal", v)
    printf "engine removal sequence:             %7.1f ms\n", median(v)
    step("removing_files")
    step("removing_shortcuts")
    step("removing_the_uninstall_entry")
    line("the work NSIS does (no driver)", median(ourRemoval))
    step("removing_the_adapter_device")
    printf "\n"
    ratio("install work, engine / NSIS over the no-op:", median(ourInstall) - pumping, nsisInstall, noop,
          fastest(ourInstall) - pumpingFast)
    ratio("removal work, engine / NSIS over the no-op:", median(ourRemoval), nsisRemoval, noop, fastest(ourRemoval))
    printf "NSIS's own start-up taken off too (over the empty installer):\n"
    ratio("install work, engine / NSIS:", median(ourInstall) - pumping, nsisInstall, empty,
          fastest(ourInstall) - pumpingFast)
    ratio("removal work, engine / NSIS:", median(ourRemoval), nsisRemoval, empty, fastest(ourRemoval))
    printf "\nNSIS installer: %d bytes; its stub (zlib, x86, Unicode): %d bytes\n", installer, stub
    if (failed)
        printf "note: some engine step reported failure\n"
}
