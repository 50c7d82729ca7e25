package E2E::Input;
# A person's hands: the mouse and keyboard of the X server, through xdotool without a
# target window, so that events arrive exactly as real input does (XTEST).
use strict;
use warnings;
use Exporter 'import';
use Time::HiRes qw(sleep);

use E2E::Screen qw(centre);

our @EXPORT_OK = qw(click_at click type_text press replace_text drag);

sub xdotool
{
    my (@args) = @_;
    system('xdotool', @args) == 0 or die "xdotool @args failed\n";
}

sub click_at
{
    my ($x, $y) = @_;
    xdotool('mousemove', $x, $y, 'click', 1);
}

# Clicks the centre of a control (or window) as peek.exe reported it.
sub click
{
    my ($item) = @_;
    click_at(centre($item));
}

sub type_text
{
    my ($text) = @_;
    xdotool('type', '--delay', 20, '--', $text);
}

sub press
{
    my (@keys) = @_;
    xdotool('key', '--delay', 40, @keys);
}

# Clicks into a text field, selects what it holds and types over it.
sub replace_text
{
    my ($field, $text) = @_;
    click($field);
    press('ctrl+a');
    type_text($text);
}

# Presses the left button at one point, moves in steps to another and releases it there.
sub drag
{
    my ($from_x, $from_y, $to_x, $to_y) = @_;
    xdotool('mousemove', $from_x, $from_y, 'mousedown', 1);
    for my $step (1 .. 8) {
        sleep 0.05;
        xdotool('mousemove', int($from_x + ($to_x - $from_x) * $step / 8),
                int($from_y + ($to_y - $from_y) * $step / 8));
    }
    # A last small move over the target, as a hand settles before letting go.
    xdotool('mousemove', $to_x + 1, $to_y);
    sleep 0.1;
    xdotool('mouseup', 1);
}

1;
