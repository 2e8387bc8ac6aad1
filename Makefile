# Entry points for people; the work is done by the scripts in scripts/.
.PHONY: test run bench package clean

test:
	@scripts/test.sh

run:
	@scripts/run.sh

bench:
	@scripts/bench.sh

package:
	@scripts/package.sh

clean:
	rm -rf build
