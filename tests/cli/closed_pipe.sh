#!/bin/sh
# quillon PROGRAM: whatever reads the result may stop early, as `head` does. Then quillon ends
# at once, killed by SIGPIPE as other tools of a shell are, says nothing, and leaves no
# scratch copy of a piped input behind; in every mode, from a file and from a pipe.
set -u
quillon=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/scratch"
i=0
while [ $i -lt 200000 ]; do echo "line $i of a log that is long enough to fill several pipe buffers"; i=$((i + 1)); done > "$work/big.log"
status=0
for mode in simple-revert line-keep revert-line; do
  for source in file pipe; do
    # Through a FIFO, so that the exit status of quillon itself can be told.
    rm -f "$work/out"
    mkfifo "$work/out"
    if [ $source = file ]; then
      TMPDIR="$work/scratch" "$quillon" -m $mode -o - "$work/big.log" 2> "$work/messages" > "$work/out" &
    else
      cat "$work/big.log" | TMPDIR="$work/scratch" "$quillon" -m $mode 2> "$work/messages" > "$work/out" &
    fi
    reverter=$!
    head -c 100 "$work/out" > /dev/null
    wait $reverter
    got=$?
    if [ $got -ne 141 ]; then echo "$mode from a $source: exit status $got, not 141"; status=1; fi
    if [ -s "$work/messages" ]; then echo "$mode from a $source said:"; cat "$work/messages"; status=1; fi
    if [ -n "$(ls -A "$work/scratch")" ]; then echo "$mode from a $source left:"; ls -A "$work/scratch"; status=1; fi
  done
done
[ $status -eq 0 ] && echo "a closed pipe ends every run at once, silently, leaving nothing"
exit $status
