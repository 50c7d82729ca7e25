package E2E::Screen;
# What the screen shows of Calvendrake: its top-level windows and their controls as
# peek.exe reads them (X windows do not carry Wine's control texts), and waiting
# for the screen to reach a state.
use strict;
use warnings;
use Exporter 'import';
use Test::More ();
use Time::HiRes qw(sleep time);

use E2E::Wine qw(program run_wine timeout);

our @EXPORT_OK = qw(peek main_dialog message_boxes control text centre size wait_for describe pixels x_geometry);

# Control ids of the main dialog, as its resources number them.
our %ID = (
    script_path => 1001, input_path => 1002, output_path => 1003,
    script_browse => 1004, input_browse => 1005, output_browse => 1006,
    run => 1007, settings => 1008, open_output => 1009, exit_after => 1011, completion => 1012,
    suffix => 1013, input_name => 1016, output_name => 1017, script_name => 1018,
    exit => 1,
    message => 65535,  # a message box's text
);
our ($YES, $NO) = (6, 7);

sub unescape
{
    my ($value) = @_;
    $value =~ s/\\(.)/$1 eq 'n' ? "\n" : $1 eq 't' ? "\t" : $1 eq 'r' ? "\r" : $1/ge;
    return $value;
}

# Every visible top-level window of the program, topmost first: hashes of the window's
# fields plus controls (in order) and by_id.
sub peek
{
    my ($text) = run_wine(program('peek.exe'));
    my @windows;
    for my $line (split /\r?\n/, $text) {
        my ($kind, @fields) = split /\t/, $line;
        my %item = map { my ($key, $value) = split /=/, $_, 2; ($key => unescape($value // '')) } @fields;
        if ($kind eq 'window') {
            push @windows, {%item, controls => [], by_id => {}};
        } elsif ($kind eq 'control' && @windows) {
            push @{$windows[-1]{controls}}, \%item;
            $windows[-1]{by_id}{$item{id}} //= \%item;
        }
    }
    return \@windows;
}

sub main_dialog
{
    my ($screen) = @_;
    my ($dialog) = grep { $_->{by_id}{$ID{run}} } @$screen;
    return $dialog;
}

# The program's other windows: message boxes and choosers.
sub message_boxes
{
    my ($screen) = @_;
    return grep { !$_->{by_id}{$ID{run}} } @$screen;
}

sub control
{
    my ($window, $id) = @_;
    return $window->{by_id}{$id};
}

# A control's text; for a message box (no id given) the message itself: its longest static text.
sub text
{
    my ($window, $id) = @_;
    if (!defined $id) {
        my ($message) = sort { length $b->{text} <=> length $a->{text} } grep { $_->{class} eq 'Static' } @{$window->{controls}};
        return $message ? $message->{text} : undef;
    }
    my $control = control($window, $id);
    return $control ? $control->{text} : undef;
}

# Centre of a window or control in screen coordinates (X's, without a window manager).
sub centre
{
    my ($item) = @_;
    my ($left, $top, $right, $bottom) = split /,/, $item->{rect};
    return (int(($left + $right) / 2), int(($top + $bottom) / 2));
}

sub size
{
    my ($item) = @_;
    my ($left, $top, $right, $bottom) = split /,/, $item->{rect};
    return ($right - $left, $bottom - $top);
}

# Polls the screen until $condition returns a true value for it, and returns that
# value; undef at the bound, after showing the last screen.
sub wait_for
{
    my ($what, $condition) = @_;
    my $deadline = time + timeout();
    my $screen;
    while (time < $deadline) {
        $screen = peek();
        my $result = $condition->($screen);
        return $result if $result;
        sleep 0.2;
    }
    Test::More::diag("gave up waiting for $what; the screen shows:\n" . describe($screen));
    return undef;
}

# The geometry of the visible X window with this name, WIDTHxHEIGHT+X+Y, as the X server has it.
sub x_geometry
{
    my ($name) = @_;
    my ($window) = split /\n/, output_of('xdotool', 'search', '--onlyvisible', '--name', "^\Q$name\E\$");
    return undef unless $window;
    my %geometry = output_of('xdotool', 'getwindowgeometry', '--shell', $window) =~ /^(\w+)=(\d+)$/mg;
    return "$geometry{WIDTH}x$geometry{HEIGHT}+$geometry{X}+$geometry{Y}";
}

sub output_of
{
    my (@command) = @_;
    open my $out, '-|', @command or die "$command[0]: $!\n";
    local $/;
    my $text = <$out> // '';
    close $out;
    return $text;
}

# The screen's pixels inside a window's rectangle, as raw RGB bytes.
sub pixels
{
    my ($item) = @_;
    my ($left, $top) = split /,/, $item->{rect};
    my ($width, $height) = size($item);
    return output_of('import', '-window', 'root', '-crop', "${width}x$height+$left+$top", '+repage', '-depth', '8', 'rgb:-');
}

sub describe
{
    my ($screen) = @_;
    return "  (no window)\n" unless $screen && @$screen;
    my $out = '';
    for my $window (@$screen) {
        $out .= "  window \"$window->{title}\" rect=$window->{rect} enabled=$window->{enabled}"
            . " foreground=$window->{foreground} active=$window->{active} focus=$window->{focus} busy=$window->{busy}\n";
        for my $control (@{$window->{controls}}) {
            my $checked = defined $control->{checked} ? " checked=$control->{checked}" : '';
            (my $text = $control->{text}) =~ s/\n/\\n/g;
            $out .= "    $control->{id} $control->{class} \"$text\"$checked\n";
        }
    }
    return $out;
}

1;
