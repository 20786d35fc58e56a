// Runs ts-fsrs's long-term scheduler (no fuzz, no learning steps) over review
// histories read as JSON from standard input:
//   {"weights": [...] or null, "histories": [[[day, grade], ...], ...]}
// and prints, per history, the card after each review:
//   [[{"stability", "difficulty", "scheduledDays", "dueDay", "lapses", "reps"}, ...], ...]
// Days are whole day numbers counted from 1970-01-01 (UTC noon, so the day is never in doubt).
// ts-fsrs tells what it does with 19 weights on the console: keep stdout for the answer.
for (const name of ['log', 'info', 'debug', 'warn'])
  console[name] = (...words) => process.stderr.write(words.join(' ') + '\n');
const { fsrs, createEmptyCard, generatorParameters } = require('ts-fsrs');

const input = JSON.parse(require('fs').readFileSync(0, 'utf8'));
const options = { enable_fuzz: false, enable_short_term: false };
if (input.weights) options.w = input.weights;
const scheduler = fsrs(generatorParameters(options));
const dayMs = 24 * 60 * 60 * 1000;
const dateOf = (day) => new Date(day * dayMs + dayMs / 2);
const dayOf = (date) => Math.floor(date.getTime() / dayMs);

const results = input.histories.map((history) => {
  let card = createEmptyCard(dateOf(history[0][0]));
  return history.map(([day, grade]) => {
    card = scheduler.next(card, dateOf(day), grade).card;
    return {
      stability: card.stability, difficulty: card.difficulty, scheduledDays: card.scheduled_days,
      dueDay: dayOf(card.due), lapses: card.lapses, reps: card.reps,
    };
  });
});
process.stdout.write(JSON.stringify(results));
