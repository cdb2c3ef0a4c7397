# Where a data block's time goes over the bridge, from the support trace of a
# download: the gap between its pieces (Timer1), its first to its last piece,
# its last piece to the unit's reply, and the reply to the next block's first
# piece. Fields of a trace line: time, direction, node, report ID, count,
# first byte; a piece holds 50 bytes (0x32), the last one 27 (0x1b), and a
# block's reply begins with "B" (0x42).
{ t = substr($1, 2) * 1000 }
$2 == "sent" && ($5 == "32" || $5 == "1b") {
  if (reply != "") { turn += t - reply; turns++; reply = "" }
  if (prev != "") { d = t - prev; gap += d; gaps++; if (d > most) most = d }
  if (prev == "") first = t
  prev = t
  if ($5 == "1b") { last = t; span += t - first; spans++; prev = "" }
  next
}
$2 == "received" && $6 == "42" && last != "" { wait += t - last; waits++; reply = t; last = "" }
END {
  if (spans && waits && gaps)
    printf "pieces %.1f ms apart (most %.1f), first to last piece %.1f ms, last piece to reply %.1f ms, reply to next block's first piece %.1f ms, over %d blocks\n",
      gap / gaps, most, span / spans, wait / waits, turns ? turn / turns : 0, spans
}
