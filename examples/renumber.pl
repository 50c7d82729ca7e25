#!/usr/bin/perl
# Renumbers the sequence numbers (N words) of an NC program in steps of 10.
# Usage: perl renumber.pl INPUT OUTPUT
#
# Only the digits of each block's N word change; every other byte, line
# endings included, is copied as it is. Blocks without an N word, % lines
# and comments stay unnumbered, and an N inside a comment is not a sequence
# number.
use strict;
use warnings;

my $STEP = 10;

die "usage: perl renumber.pl INPUT OUTPUT\n" unless @ARGV == 2;
my ($input, $output) = @ARGV;

# Raw layers: the data is bytes, and CR LF must come out as it went in.
# The whole input is read before the output is opened, so an input that
# cannot be read leaves an existing output file untouched.
open my $in, '<:raw', $input or die "cannot read $input: $!\n";
my @lines = <$in>;
close $in or die "cannot read $input: $!\n";

my $next = $STEP;
for my $line (@lines) {
    # The N word opens a block; before it may stand blanks, a block-delete
    # slash and comments in parentheses.
    if ($line =~ s/^((?:[ \t\/]|\([^)]*\))*[Nn])\d+/$1$next/) {
        $next += $STEP;
    }
}

open my $out, '>:raw', $output or die "cannot write $output: $!\n";
print {$out} @lines or die "cannot write $output: $!\n";
close $out or die "cannot write $output: $!\n";
