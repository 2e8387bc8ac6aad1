# Entry points for people; the work is done by the scripts in scripts/.
.PHONY: test clean

test:
	@scripts/test.sh

clean:
	rm -rf build
