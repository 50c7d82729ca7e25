# Opening a file while Calvendrake is already open: the second launch hands its path to the
# running dialog, brings it to the front and ends.
use strict;
use warnings;
use Test::More;

use E2E::App qw(launch wait_dialog finish);
use E2E::Files qw(work_folder script_folder write_file read_file example expected_conversion folder_shown);
use E2E::Input qw(click press replace_text);
use E2E::Screen qw(main_dialog control text size wait_for);
use E2E::Wine qw(windows_path delete_settings settings_values start_wine start_program wait_exit);

my %ID = %E2E::Screen::ID;

my $folder = work_folder('handoff');
my $tools = script_folder('day3');
write_file("$tools/renumber.pl", read_file(example('renumber.pl')));
my $part2 = write_file("$folder/part2.ncd", read_file(example('part1.ncd')));

# Another Windows program takes the front, as the file manager a file is opened from would.
sub other_program_in_front
{
    my $other = start_wine('notepad.exe');
    ok(wait_for('another program in front', sub { my $dialog = main_dialog($_[0]); $dialog && !$dialog->{foreground} }),
       'another program is in front of the dialog');
    return $other;
}

sub shown_paths
{
    my ($dialog) = @_;
    return [map { text($dialog, $ID{$_}) } qw(script_name input_path input_name output_path output_name suffix)];
}

ok(delete_settings(), 'no settings to begin with');
my ($pid, $dialog) = launch();
ok($dialog, 'the dialog appears') or die "no dialog\n";
replace_text(control($dialog, $ID{script_name}), windows_path("$tools/renumber.pl"));
press('Tab');
$dialog = wait_dialog('the script chosen', sub { text($_[0], $ID{script_name}) eq 'renumber.pl' }) or die "no script\n";

# A new suffix typed and not yet left: the hand-off derives the output with what the field shows.
click(control($dialog, $ID{settings}));
$dialog = wait_dialog('the panel opened', sub { (size($_[0]))[1] == 476 }) or die "no panel\n";
replace_text(control($dialog, $ID{suffix}), '_v2');
ok(wait_dialog('the suffix typed', sub { text($_[0], $ID{suffix}) eq '_v2' }), 'a new suffix typed');
my $stored = settings_values();

my $notepad = other_program_in_front();
my $second = start_program('Calvendrake.exe', windows_path($part2));
is(wait_exit($second), 0, 'the second launch ends');
$dialog = wait_dialog('the handed-over input', sub { text($_[0], $ID{input_name}) eq 'part2.ncd' });
ok($dialog, 'the dialog shows the file opened') or die "no hand-off\n";
is(text($dialog, $ID{output_name}), 'part2_v2.ncd', 'the output derived with the suffix as typed');
ok(folder_shown(text($dialog, $ID{$_}), windows_path("$folder/")), "label $_ shows the folder") for qw(input_path output_path);
is(text($dialog, $ID{script_name}), 'renumber.pl', 'the script stays');
ok($dialog->{foreground}, 'the dialog is in front again');
is_deeply(settings_values(), $stored, 'the second launch leaves the settings store alone');

# Enter runs the handed-over file (Run is the default button).
my $output = "$folder/part2_v2.ncd";
my $expected = expected_conversion($part2);
press('Return');
ok(wait_for('the conversion', sub { (read_file($output) // '') eq $expected }), 'Run converts it');
$dialog = wait_dialog('the run ended', sub { control($_[0], $ID{script_name})->{items} == 1 }) or die "run did not end\n";
kill 'KILL', $notepad;
wait_exit($notepad);

# Without a file the second launch only brings the dialog to the front.
my $shown = shown_paths($dialog);
$notepad = other_program_in_front();
$second = start_program('Calvendrake.exe');
is(wait_exit($second), 0, 'a second launch without a file ends');
$dialog = wait_dialog('the dialog in front', sub { $_[0]{foreground} });
ok($dialog, 'the dialog comes to the front') or die "not in front\n";
is_deeply(shown_paths($dialog), $shown, 'and nothing in it changes');
kill 'KILL', $notepad;
wait_exit($notepad);

is(finish($pid), 0, 'exit');
is(settings_values()->{SuffixName}{data}, '_v2', 'the typed suffix is stored at exit');

done_testing();
