# Big and awkward files: a 200,000-line program, Japanese folder and file names, a script
# that fails, and one that takes its time while a second launch waits for the dialog.
use strict;
use warnings;
use File::Path qw(make_path);
use POSIX ();
use Test::More;

use E2E::App qw(launch wait_dialog wait_message wait_quiet finish);
use E2E::Files qw(work_folder script_folder write_file read_file example expected_conversion nc_program
    folder_shown);
use E2E::Input qw(click press replace_text);
use E2E::Screen qw(control text size wait_for pixels);
use E2E::Wine qw(windows_path delete_settings start_program exit_code wait_exit);

my %ID = %E2E::Screen::ID;

my $folder = work_folder('awkward');
my $tools = script_folder('day2');
write_file("$tools/renumber.pl", read_file(example('renumber.pl')));
write_file("$tools/fail.pl", <<'PERL');
# Stops at a word it does not know, as a strict converter does.
warn "fail.pl: reading the input\n";
$! = 0;  # die's exit code is errno when that is set: keep it the plain 255
die "fail.pl: unknown word Q99 in block N40\n";
PERL
write_file("$tools/slow.pl", <<'PERL');
# A conversion that takes its time: it marks its start, then waits until the test
# lets it go (a minute at most) and copies the input.
my ($input, $output) = @ARGV;
open my $mark, '>', "$input.started" or die "$input.started: $!\n";
close $mark;
for (1 .. 600) {
    last if -e "$input.release";
    select undef, undef, undef, 0.1;
}
open my $in, '<:raw', $input or die "$input: $!\n";
open my $out, '>:raw', $output or die "$output: $!\n";
print {$out} <$in>;
close $out or die "$output: $!\n";
PERL

# Chooses a script by typing its path into the script field and leaving it.
sub choose_script
{
    my ($dialog, $name) = @_;
    replace_text(control($dialog, $ID{script_name}), windows_path("$tools/$name"));
    press('Tab');
    return wait_dialog("script $name chosen", sub { text($_[0], $ID{script_name}) eq $name });
}

ok(delete_settings(), 'no settings to begin with');

# A big program, opened with Calvendrake as a file manager would: the path as the argument.
my $big = write_file("$folder/big.ncd", nc_program(200_000));
my $big_output = "$folder/big_cvted.ncd";
my $big_expected = expected_conversion($big);
my ($pid, $dialog) = launch(windows_path($big));
ok($dialog, 'the dialog appears') or die "no dialog\n";
is(text($dialog, $ID{input_name}), 'big.ncd', 'the argument is the input');
is(text($dialog, $ID{output_name}), 'big_cvted.ncd', 'the output is derived from it');
$dialog = choose_script($dialog, 'renumber.pl');
ok($dialog, 'the script is chosen') or die "no script\n";
click(control($dialog, $ID{run}));
ok(wait_for('the big conversion', sub { -s $big_output && -s $big_output == length $big_expected }),
   'the 200,000-line output is written');
is(read_file($big_output), $big_expected, 'and is what the host Perl makes of it');
$dialog = wait_dialog('the run ended', sub { control($_[0], $ID{script_name})->{items} == 1 });
ok($dialog, 'the run ends without a message') or die "run did not end\n";
is(finish($pid), 0, 'exit');

# Japanese names in code page 932: a folder 表示\ソフト and a file 部品.ncd (UTF-8 on the
# Unix side; Wine maps them).
my $japanese_folder = "$folder/表示/ソフト";
make_path($japanese_folder);
my $parts = write_file("$japanese_folder/部品.ncd", read_file(example('part1.ncd')));
my $parts_output = "$japanese_folder/部品_cvted.ncd";
($pid, $dialog) = launch(windows_path($parts));
ok($dialog, 'a Japanese path as the argument') or die "no dialog\n";
is(text($dialog, $ID{input_name}), '部品.ncd', 'the input name in Japanese');
is(text($dialog, $ID{output_name}), '部品_cvted.ncd', 'the output name derived, suffix before the extension');
ok(folder_shown(text($dialog, $ID{input_path}), windows_path("$japanese_folder/")), 'the folder 表示\\ソフト shown')
    or diag text($dialog, $ID{input_path});
is(text($dialog, $ID{script_name}), 'renumber.pl', 'the last script is preselected');

# The completion message on, so that its absence after a failure means something.
click(control($dialog, $ID{settings}));
$dialog = wait_dialog('the panel opened', sub { (size($_[0]))[1] == 476 }) or die "no panel\n";
click(control($dialog, $ID{completion}));
$dialog = wait_dialog('the completion option on', sub { control($_[0], $ID{completion})->{checked} })
    or die "option not set\n";

click(control($dialog, $ID{run}));
ok(wait_message('the completion message', qr/^完了しました。$/), 'the Japanese file converts');
is(read_file($parts_output), expected_conversion($parts), 'into 部品_cvted.ncd, as the host Perl converts it');
press('Return');
$dialog = wait_quiet('the message answered') or die "message stays\n";

# A script that fails: its path, the exit code and its error lines are shown; nothing else.
unlink $parts_output;
$dialog = choose_script($dialog, 'fail.pl') or die "no script\n";
click(control($dialog, $ID{run}));
my $failure = wait_message('the failure message', qr/実行に失敗/);
ok($failure, 'a failing script is reported') or die "no failure message\n";
is(text($failure),
   windows_path("$tools/fail.pl") . " の実行に失敗しました。（終了コード 255）\n\n"
   . "fail.pl: reading the input\nfail.pl: unknown word Q99 in block N40",
   'with the script path, its exit code and its error output');
press('Return');
$dialog = wait_dialog('the failed run ended', sub { control($_[0], $ID{script_name})->{items} == 2 });
ok($dialog, 'no completion message follows a failure');
ok(!-e $parts_output, 'and no output was made');

# A slow script: the window keeps painting, and a second launch waits for the run to end.
$dialog = choose_script($dialog, 'slow.pl') or die "no script\n";
click(control($dialog, $ID{run}));
ok(wait_for('the slow script to start', sub { -e "$parts.started" }), 'the slow script runs') or die "not started\n";
my $painted = pixels($dialog);
my $cover = start_cover($dialog);
ok(wait_for('the cover shown', sub { pixels($dialog) ne $painted }), 'another window covers the dialog');
kill 'TERM', $cover;
waitpid $cover, 0;
ok(wait_for('the dialog repainted', sub { pixels($dialog) eq $painted }), 'uncovered during the run, it repaints');

my $other = write_file("$folder/other.ncd", "N1 G00 X0 Y0\r\n");
my $second = start_program('Calvendrake.exe', windows_path($other));
sleep 3;  # the script runs on a few seconds: time for the second launch to reach the dialog
ok(!defined exit_code($second), 'the second launch waits while the conversion runs');
write_file("$parts.release", '');
ok(wait_message('the completion message', qr/^完了しました。$/), 'the slow run completes');
is(wait_exit($second), 0, 'the second launch has handed over and ended');
my $done = wait_message('the completion message after the hand-off', qr/^完了しました。$/) or die "no message\n";
ok($done->{active}, 'the completion message keeps the keyboard after the hand-off');
press('Return');
$dialog = wait_quiet('the message answered');
ok($dialog, 'one dialog, no message') or die "message stays\n";
is(text($dialog, $ID{input_name}), 'other.ncd', 'the dialog shows the handed-over input');
is(text($dialog, $ID{output_name}), 'other_cvted.ncd', 'and its derived output');
ok(folder_shown(text($dialog, $ID{input_path}), windows_path("$folder/")), 'in its folder');
is(read_file($parts_output), read_file($parts), 'the slow run wrote its own output, for the file it started with');
is(finish($pid), 0, 'exit');

done_testing();

# A plain X window over the dialog, from another client (xmessage), as a person's other program.
sub start_cover
{
    my ($item) = @_;
    my ($left, $top) = split /,/, $item->{rect};
    my ($width, $height) = size($item);
    my $cover = fork // die "fork: $!\n";
    if (!$cover) {
        open STDERR, '>', '/dev/null';
        exec('xmessage', '-geometry', "${width}x$height+$left+$top", '-bg', 'white', 'cover') or POSIX::_exit(127);
    }
    return $cover;
}
