package E2E::App;
# Calvendrake as a person meets it: started, its dialog and message boxes waited for on
# the screen, ended with its exit button.
use strict;
use warnings;
use Exporter 'import';

use E2E::Input qw(click);
use E2E::Screen qw(main_dialog message_boxes text wait_for);
use E2E::Wine qw(start_program wait_exit);

our @EXPORT_OK = qw(launch wait_dialog wait_message wait_quiet finish);

# Starts Calvendrake.exe with the given arguments and waits for its dialog; (pid, dialog).
sub launch
{
    my (@args) = @_;
    my $pid = start_program('Calvendrake.exe', @args);
    my $dialog = wait_dialog('the main dialog', sub { 1 });
    return ($pid, $dialog);
}

# Waits until the main dialog is shown with no message box over it and $condition holds for it.
sub wait_dialog
{
    my ($what, $condition) = @_;
    return wait_for($what, sub {
        my ($screen) = @_;
        my $dialog = main_dialog($screen);
        return $dialog && !message_boxes($screen) && $condition->($dialog) ? $dialog : undef;
    });
}

# Waits for a message box whose text matches $pattern.
sub wait_message
{
    my ($what, $pattern) = @_;
    return wait_for($what, sub {
        my ($box) = grep { (text($_) // '') =~ $pattern } message_boxes($_[0]);
        return $box;
    });
}

# Waits until the dialog is alone on the screen again.
sub wait_quiet
{
    my ($what) = @_;
    return wait_dialog($what, sub { 1 });
}

# Ends the program with its exit button, as a person does at the end of the day; its exit code.
sub finish
{
    my ($pid) = @_;
    my $dialog = wait_quiet('the dialog before closing') or return undef;
    click($dialog->{by_id}{$E2E::Screen::ID{exit}});
    return wait_exit($pid);
}

1;
