# A first day with Calvendrake: no settings yet, the script and files typed in, Run with
# the mouse and with Enter, the overwrite question and the completion message answered
# from the keyboard, the options panel opened, and the next start finding it all again.
use strict;
use warnings;
use Test::More;

use E2E::App qw(launch wait_dialog wait_message wait_quiet finish);
use E2E::Files qw(work_folder script_folder write_file read_file example expected_conversion folder_shown);
use E2E::Input qw(click press replace_text);
use E2E::Screen qw(control text size wait_for x_geometry);
use E2E::Wine qw(windows_path settings_values delete_settings);

my %ID = %E2E::Screen::ID;

my $folder = work_folder('first-day');
my $tools = script_folder('day1');
my $script = write_file("$tools/renumber.pl", read_file(example('renumber.pl')));
my $input = write_file("$folder/part1.ncd", read_file(example('part1.ncd')));
my $output = "$folder/part1_cvted.ncd";
my $expected = expected_conversion($input);
isnt($expected, read_file($input), 'the example input has N words to renumber');

ok(delete_settings(), 'no settings key before the first start');

my ($pid, $dialog) = launch();
ok($dialog, 'the dialog appears') or die "no dialog\n";
is($dialog->{rect}, '100,100,496,410', 'first start: collapsed (396 x 310) at 100,100');
my $window_bottom = (split /,/, $dialog->{rect})[3];
my $panel_top = (split /,/, control($dialog, $ID{completion})->{rect})[1];
cmp_ok($panel_top, '>=', $window_bottom, 'the options panel lies below the collapsed window');
is(text($dialog, $ID{$_}), '', "$_ starts empty") for qw(script_name input_name output_name);
# The suite clicks at peek.exe's rectangles: they must be the X server's coordinates.
is(x_geometry('Calvendrake'), '396x310+100+100', 'the X window has the same place and size');

# The script: its full path typed into the script field, then Tab to leave it.
replace_text(control($dialog, $ID{script_name}), windows_path($script));
press('Tab');
$dialog = wait_dialog('the typed script resolved', sub { text($_[0], $ID{script_name}) eq 'renumber.pl' });
ok($dialog, 'the script field shows the name') or die "script not taken\n";
ok(folder_shown(text($dialog, $ID{script_path}), windows_path("$tools/")), 'the script label shows its folder')
    or diag text($dialog, $ID{script_path});
is($dialog->{focus}, $ID{script_browse}, 'Tab moved the focus on to the browse button');

# The input: a full path, since the empty field has no folder to resolve a name against.
replace_text(control($dialog, $ID{input_name}), windows_path($input));
press('Tab');
$dialog = wait_dialog('the typed input resolved', sub { text($_[0], $ID{input_name}) eq 'part1.ncd' });
ok($dialog, 'the input field shows the name') or die "input not taken\n";
ok(folder_shown(text($dialog, $ID{input_path}), windows_path("$folder/")), 'the input label shows its folder');
is(text($dialog, $ID{output_name}), '', 'a typed input leaves the output as it was');

replace_text(control($dialog, $ID{output_name}), windows_path($output));
press('Tab');
$dialog = wait_dialog('the typed output resolved', sub { text($_[0], $ID{output_name}) eq 'part1_cvted.ncd' });
ok($dialog, 'the output field shows the name') or die "output not taken\n";

# Run with the mouse: the completion message is off on a first start, so nothing pops up.
click(control($dialog, $ID{run}));
ok(wait_for('the converted output', sub { (read_file($output) // '') eq $expected }),
   'Run converts the file as the host Perl does');
$dialog = wait_dialog('the script in the recent list', sub { control($_[0], $ID{script_name})->{items} == 1 });
ok($dialog, 'after the run the script joins the recent list, no message shown') or die "run did not end\n";

# Options: open the panel, turn on the completion message with a click.
click(control($dialog, $ID{settings}));
$dialog = wait_dialog('the panel opened', sub { (size($_[0]))[1] == 476 });
ok($dialog, 'the settings button expands the window to 476 pixels') or die "panel closed\n";
my $completion = control($dialog, $ID{completion});
ok($completion->{enabled} && !$completion->{checked}, 'the completion option is shown, off');
click($completion);
$dialog = wait_dialog('the completion option on', sub { control($_[0], $ID{completion})->{checked} });
ok($dialog, 'a click turns it on') or die "option not set\n";

# Run again with Enter (Run is the default button): the output exists now.
write_file($output, "stale\r\n");
press('Return');
my $question = wait_message('the overwrite question', qr/既に存在します/);
ok($question, 'Run asks before replacing the output') or die "no question\n";
is(text($question), windows_path($output) . " は既に存在します。\n上書きしますか?", 'the question names the output file');
is($question->{title}, 'Calvendrake', 'the message is captioned with the program name');
is($question->{focus}, $E2E::Screen::NO, 'No is the default answer');
press('alt+y');
my $done = wait_message('the completion message', qr/完了/);
ok($done, 'after Yes the conversion runs and reports') or die "no completion message\n";
is(text($done), '完了しました。', 'the completion message');
is(read_file($output), $expected, 'the output was replaced by the new conversion');
press('Return');
ok(wait_quiet('the completion message answered'), 'Enter closes the message');

is(finish($pid), 0, 'the exit button ends the program');

# What the store holds now, as reg shows it.
my $stored = settings_values();
ok($stored, 'the settings key exists after the first day') or die "no key\n";
is($stored->{ScriptFile0}{data}, windows_path($script), 'ScriptFile0 is the script used');
is($stored->{CompleteDialog}{data}, 1, 'CompleteDialog = 1');
is($stored->{OptOnOff}{data}, 0, 'OptOnOff = 0: the panel was left open');
is($stored->{$_}{data}, 100, "$_ = 100") for qw(PosLeft PosTop);
is($stored->{ScriptFile0}{type}, 'REG_SZ', 'ScriptFile0 is a string');
is($stored->{$_}{type}, 'REG_DWORD', "$_ is a DWORD") for qw(CompleteDialog PosLeft PosTop);

# The next morning: the same window.
($pid, $dialog) = launch();
ok($dialog, 'the dialog appears again') or die "no dialog\n";
is($dialog->{rect}, '100,100,496,576', 'same place, panel still open');
ok(control($dialog, $ID{completion})->{checked}, 'the completion option is still on');
is(text($dialog, $ID{script_name}), 'renumber.pl', 'the script used is preselected');
ok(folder_shown(text($dialog, $ID{script_path}), windows_path("$tools/")), 'with its folder');
is(finish($pid), 0, 'and it ends again');

done_testing();
