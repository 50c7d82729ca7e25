package E2E::FileManager;
# Another program's window holding one file, dragged from with the mouse: the X drag
# source that tools/e2e.sh builds (xdnd_source.c), offering the file by the XDND
# protocol as a Linux file manager does. Wine turns such a drop into WM_DROPFILES.
use strict;
use warnings;
use Exporter 'import';

use E2E::Input qw(drag);

our @EXPORT_OK = qw(drag_source drag_file);

# Where the file manager's window stands: right of the dialog, clear of it.
my ($LEFT, $TOP, $WIDTH, $HEIGHT) = (560, 120, 420, 40);

# The drag source program, or undef when it could not be built here.
sub drag_source
{
    my $source = $ENV{CALV_E2E_XDND_SOURCE};
    return $source && -x $source ? $source : undef;
}

# Shows the file in its window, drags it from there to the screen point and lets go. What
# the source saw: "dropped" (taken), "refused" (no window took it) or "timeout".
sub drag_file
{
    my ($path, $to_x, $to_y) = @_;
    open my $out, '-|', drag_source(), $WIDTH, $HEIGHT, $LEFT, $TOP, $path or die "drag source: $!\n";
    my $ready = <$out> // '';
    die "the drag source did not show its window\n" unless $ready eq "ready\n";
    drag($LEFT + 20, $TOP + $HEIGHT / 2, $to_x, $to_y);
    my $result = <$out> // "no answer\n";
    close $out;
    chomp $result;
    return $result;
}

1;
